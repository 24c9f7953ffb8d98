// Numbers to integers without undefined behaviour.
#pragma once

#include <climits>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "lua/lua.h"

namespace script {

// The number truncated toward zero into an integer type: NaN gives 0 and a
// value beyond the type's range gives the nearest limit.
template <typename Int>
Int truncateNumber(lua_Number n)
{
    using Limits = std::numeric_limits<Int>;
    if (std::isnan(n))
        return 0;
    // 2^digits is exact in a double; strictly inside these bounds the cast is defined.
    const lua_Number above = std::ldexp(1.0, Limits::digits);
    if (n >= above)
        return Limits::max();
    if (Limits::is_signed ? n <= -above : n <= -1.0)
        return Limits::min();
    return static_cast<Int>(n);
}

// A number truncated toward zero when that fits an int; any out-of-range
// number or NaN gives INT_MIN (the processor's own answer on x86, where the
// conversion needs no range test of its own).
inline int truncateOrMin(lua_Number n)
{
#if defined(__SSE2__)
    return _mm_cvttsd_si32(_mm_set_sd(n));
#else
    return n > INT_MIN && n < 2147483648.0 ? static_cast<int>(n) : INT_MIN;
#endif
}

}  // namespace script
