// Numbers to integers without undefined behaviour.
#pragma once

#include <cmath>
#include <limits>

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

}  // namespace script
