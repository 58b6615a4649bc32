#include "render/pointregisters.h"

#include <cmath>

namespace korvimo {

bool PointRegisters::allFinite() const
{
    auto fin = [](long double v) { return std::isfinite(v); };
    for (int i = 1; i <= 8; ++i)
        if (!fin(xa[i]) || !fin(ya[i]))
            return false;
    for (int i = 1; i <= 6; ++i)
        if (!fin(xb[i]) || !fin(yb[i]))
            return false;
    for (long double v : {tOffset1, tOffset2, width, pijlXa1, pijlYa1, pijlXa2, pijlYa2, pijlXb1, pijlYb1,
                          pijlXb2, pijlYb2, pijlX1Punt, pijlY1Punt, pijlX2Punt, pijlY2Punt, radius,
                          referenceAngle, sliceAlpha, sliceDelta})
        if (!fin(v))
            return false;
    return true;
}

} // namespace korvimo
