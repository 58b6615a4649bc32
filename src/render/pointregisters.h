#pragma once
// The points and lengths one script line is drawn from. All of them are
// cleared before every line, so nothing of the previous element leaks into
// the next one. Indices follow the names printed by the check dump: xa[1]
// is Xa1; index 0 is unused.
#include <array>

namespace korvimo {

struct PointRegisters {
    long double tOffset1 = 0;
    long double tOffset2 = 0;
    long double width = 0;
    std::array<long double, 9> xa{}; // Xa1 .. Xa8
    std::array<long double, 9> ya{};
    std::array<long double, 9> xb{}; // Xb1 .. Xb6 (7 and 8 unused)
    std::array<long double, 9> yb{};
    // Band corners after arrow shortening and the two arrow points.
    long double pijlXa1 = 0, pijlYa1 = 0, pijlXa2 = 0, pijlYa2 = 0;
    long double pijlXb1 = 0, pijlYb1 = 0, pijlXb2 = 0, pijlYb2 = 0;
    long double pijlX1Punt = 0, pijlY1Punt = 0, pijlX2Punt = 0, pijlY2Punt = 0;
    long double radius = 0;
    // The reference angle of a text and the two working angles of circle slices.
    long double referenceAngle = 0;
    long double sliceAlpha = 0;
    long double sliceDelta = 0;

    void reset() { *this = PointRegisters{}; }
    // False when any register holds an infinity or a NaN: the geometry of the
    // line is broken and must not be drawn.
    bool allFinite() const;
};

} // namespace korvimo
