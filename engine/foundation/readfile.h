// Reading a whole file through the file layer.
#pragma once

#include <string>

#include "foundation/tstring.h"

// The file's bytes; false when it cannot be opened.
bool ReadWholeFile(const TString& name, std::string& contents);
