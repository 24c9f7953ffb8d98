#include "game/texts/scorerformat.h"

#include <cstring>

#include "foundation/debuglog.h"
#include "foundation/stringtable.h"

namespace {

struct TGroupRow {
    const char* size;
    const char* fallback;
    int groups;
};

const TGroupRow kRows[] = {
    {"tens", "%d", 1},
    {"thousands", "%d,%03d", 2},
    {"millions", "%d,%03d,%03d", 3},
    {"billions", "%d,%03d,%03d,%03d", 4},
};

constexpr int kMaxDigits = 2;

// Skips up to kMaxDigits decimal digits; false when there are more.
bool SkipDigits(const char*& p) {
    int count = 0;
    while (*p >= '0' && *p <= '9') {
        if (++count > kMaxDigits) return false;
        ++p;
    }
    return true;
}

// Reads the conversion after a '%'; p ends past it. Sets isArgument when
// it takes an argument.
bool ReadConversion(const char*& p, bool& isArgument) {
    isArgument = false;
    if (*p == '%') {
        ++p;
        return true;
    }
    while (*p && std::strchr("-+ #0", *p)) ++p;
    if (!SkipDigits(p)) return false;
    if (*p == '.') {
        ++p;
        if (!SkipDigits(p)) return false;
    }
    if (*p != 'd' && *p != 'i') return false;
    ++p;
    isArgument = true;
    return true;
}

// The row of the number and its groups, most significant first.
int SplitGroups(int32_t number, int32_t groups[4]) {
    int row = 0;
    if (number >= 1000000000) row = 3;
    else if (number >= 1000000) row = 2;
    else if (number >= 1000) row = 1;
    int32_t rest = number;
    for (int i = row; i > 0; --i) {
        groups[i] = rest % 1000;
        rest /= 1000;
    }
    groups[0] = rest;
    return row;
}

TString LookUpFormat(const TGroupRow& row, const TStringTable* strings, const char* labelPrefix) {
    if (strings) {
        TString label = TString::Format("%s_%s_format", labelPrefix, row.size);
        TString format = strings->GetString(label);
        if (IsIntegerFormat(format, row.groups)) return format;
        DebugLog("Format of '%s' is not %d integer conversions: '%s'", label.c_str(), row.groups, format.c_str());
    }
    return TString(row.fallback);
}

}  // namespace

bool IsIntegerFormat(const TString& format, int argumentCount) {
    int arguments = 0;
    for (const char* p = format.c_str(); *p;) {
        if (*p++ != '%') continue;
        bool isArgument = false;
        if (!ReadConversion(p, isArgument)) return false;
        if (isArgument) ++arguments;
    }
    return arguments == argumentCount;
}

TString FormatDigitGroups(int32_t number, const TStringTable* strings, const char* labelPrefix) {
    int32_t groups[4] = {0, 0, 0, 0};
    const TGroupRow& row = kRows[SplitGroups(number, groups)];
    TString format = LookUpFormat(row, strings, labelPrefix);
    // Surplus arguments are ignored by the formatter; the check above makes
    // the format take exactly the row's groups.
    return TString::Format(format.c_str(), groups[0], groups[1], groups[2], groups[3]);
}

TString FormatScore(int32_t number, const TStringTable* strings) {
    return FormatDigitGroups(number, strings, "localizer_number");
}
