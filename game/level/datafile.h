// The shop floor's data files (levels, goals, upgrade catalogues): the
// elements of one name at the top of a file, in order. Unknown elements are
// skipped silently; a file that cannot be read, or holds no such element,
// gives one log line naming it.
#pragma once

#include <functional>

#include "foundation/tstring.h"

class TXmlNode;

// Calls read for each top-level element of that name; false (logged for
// the reader) when there is none.
bool ReadDataFile(const TString& fileName, const char* element, const char* reader,
                  const std::function<void(TXmlNode&)>& read);
