#include "game/progression/compare.h"

namespace {

int WordFlag(TString word) {
    word.Replace(" ", "", TString::kReplaceAll);
    static const struct {
        const char* word;
        int flag;
    } kWords[] = {
        {"not", kCompareNot},
        {"lessthan", kCompareLess},
        {"greaterthan", kCompareGreater},
        {"equal", kCompareEqual},
    };
    for (const auto& entry : kWords) {
        if (word == entry.word) return entry.flag;
    }
    return 0;
}

int SymbolFlags(const TString& text) {
    static const struct {
        char symbol;
        int flag;
    } kSymbols[] = {
        {'>', kCompareGreater},
        {'<', kCompareLess},
        {'=', kCompareEqual},
        {'!', kCompareNot},
    };
    int flags = 0;
    for (const auto& entry : kSymbols) {
        if (text.FindChar(entry.symbol) >= 0) flags |= entry.flag;
    }
    return flags;
}

}  // namespace

int ParseCompareFlags(const TString& text) {
    TString lower = text;
    lower.ToLower();
    int flags = 0;
    int start = 0;
    for (;;) {
        int plus = lower.FindChar('+', 0, start);
        if (plus < 0) {
            flags |= WordFlag(lower.SubString(start));
            break;
        }
        flags |= WordFlag(lower.SubString(start, plus - start));
        start = plus + 1;
    }
    return flags | SymbolFlags(lower);
}

bool EvaluateCompare(float value, float threshold, int flags) {
    const bool less = (flags & kCompareLess) != 0;
    const bool greater = (flags & kCompareGreater) != 0;
    const bool equal = (flags & kCompareEqual) != 0;
    if (less && greater && !equal) return false;
    // Each relation is false when either side is NaN.
    bool result = less ? value < threshold : greater && value > threshold;
    if (equal) result = result || value == threshold;
    return (flags & kCompareNot) ? !result : result;
}
