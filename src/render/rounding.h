#pragma once
// Every coordinate the renderer hands to the canvas passes through here:
// geometry is computed in extended precision and becomes an integer only at
// the drawing call, with halves going to the even neighbour.
#include <cmath>
#include <limits>

namespace korvimo {

// Nearest integer, halves to even. Non-finite input gives 0 and values beyond
// the int range are clamped, so a broken geometry can never reach undefined
// behaviour in a conversion.
inline int roundToEven(long double v)
{
    if (!std::isfinite(v))
        return 0;
    long double r = std::floor(v);
    const long double diff = v - r;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(r, 2.0L) != 0))
        r += 1;
    constexpr long double lo = std::numeric_limits<int>::min();
    constexpr long double hi = std::numeric_limits<int>::max();
    if (r < lo)
        return std::numeric_limits<int>::min();
    if (r > hi)
        return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

// The same rounding for values that may exceed the int range (check dump
// figures are scaled by 1000).
inline long long roundToEven64(long double v)
{
    if (!std::isfinite(v))
        return 0;
    long double r = std::floor(v);
    const long double diff = v - r;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(r, 2.0L) != 0))
        r += 1;
    constexpr long double lo = static_cast<long double>(std::numeric_limits<long long>::min());
    constexpr long double hi = static_cast<long double>(std::numeric_limits<long long>::max());
    if (r <= lo)
        return std::numeric_limits<long long>::min();
    if (r >= hi)
        return std::numeric_limits<long long>::max();
    return static_cast<long long>(r);
}

} // namespace korvimo
