#pragma once
// Every coordinate the renderer hands to the canvas passes through here:
// geometry is computed in extended precision and becomes an integer only at
// the drawing call, with halves going to the even neighbour.
#include <cmath>
#include <limits>

namespace korvimo {

// Nearest integer, halves to even, for values that may exceed the int range
// (check dump figures are scaled by 1000). Non-finite input gives 0 and
// values beyond the range are clamped, so a broken geometry can never reach
// undefined behaviour in a conversion.
inline long long roundToEven64(long double v)
{
    constexpr long double limit = 9.2e18L;
    if (!(v > -limit && v < limit)) { // also catches NaN
        if (std::isnan(v))
            return 0;
        if (std::isinf(v))
            return 0;
        return v < 0 ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    }
    long long r = static_cast<long long>(v); // towards zero
    if (static_cast<long double>(r) > v)
        --r; // now the floor
    const long double diff = v - static_cast<long double>(r);
    if (diff > 0.5L || (diff == 0.5L && (r & 1) != 0))
        ++r;
    return r;
}

inline int roundToEven(long double v)
{
    const long long r = roundToEven64(v);
    if (r < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (r > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

} // namespace korvimo
