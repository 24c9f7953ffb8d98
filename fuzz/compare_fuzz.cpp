// Parses arbitrary bytes as a goal's comparison text, then evaluates the
// flags against NaN, the infinities and both zeros: the flags stay within
// the four bits, and the results keep the rules every goal relies on.
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "game/progression/compare.h"

namespace {

const float kValues[] = {
    std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(),
    0.0f,
    -0.0f,
    1.0f,
};

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16)) return 0;
    TString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    int flags = ParseCompareFlags(text);
    Check(flags >= 0 && flags <= 15);
    const bool never = (flags & ~kCompareNot) == (kCompareLess | kCompareGreater);
    for (float value : kValues) {
        for (float threshold : kValues) {
            bool result = EvaluateCompare(value, threshold, flags);
            if (never) {
                Check(!result);
                continue;
            }
            // The not bit turns the plain comparison round.
            Check(result != EvaluateCompare(value, threshold, flags ^ kCompareNot));
            if (value != value || threshold != threshold) Check(result == ((flags & kCompareNot) != 0));
        }
    }
    return 0;
}
