// Numbers in digit groups through the localised formats of the string
// table (scores, money). The table's texts are only used as formats when
// they hold nothing but integer conversions, one for each group of their row.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

class TStringTable;

// True when every conversion of the format is "%%" or an integer
// conversion ('d' or 'i', with flags, a width and a precision of at most
// two digits each) and there are exactly argumentCount of the latter.
bool IsIntegerFormat(const TString& format, int argumentCount);

// The number in groups of thousands: below 1,000 (negatives too) the format
// labelled "<labelPrefix>_tens_format", then "_thousands_format",
// "_millions_format" and "_billions_format". A format the table lacks or
// that fails the check above is logged and replaced by the plain one
// ("%d", "%d,%03d" ...).
TString FormatDigitGroups(int32_t number, const TStringTable* strings, const char* labelPrefix);
// The score's groups: the "localizer_number" formats.
TString FormatScore(int32_t number, const TStringTable* strings);
