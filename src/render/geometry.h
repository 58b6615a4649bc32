#pragma once
// The geometric helpers every element is built from. Angles are degrees,
// counter-clockwise on the screen (up is 90) although Y grows downwards;
// lengths are metafile units. Every division is guarded, so the helpers
// themselves never produce a non-finite value from finite input.
#include "render/pointregisters.h"

namespace korvimo {

inline constexpr long double kPi = 3.1415926535897932385L;
inline constexpr long double kDegToRad = 0.017453292519943295769L;

// Direction from point 1 to point 2 in (0, 360]: east is 360, up 90, west
// 180, down 270. Two equal points give 90.
long double directionAngle(long double x1, long double y1, long double x2, long double y2);

// Counter-clockwise angle in [0, 360) at point 1 from the direction towards
// point 2 to the direction towards point 3.
long double turnAngle(long double x1, long double y1, long double x2, long double y2, long double x3,
                      long double y3);

long double distance(long double x1, long double y1, long double x2, long double y2);

enum class BandPart {
    LijnVan1naar2, // Xa1/Ya1 -> Xa2/Ya2 with T-offset 1; edge b in Xb1/Yb1, Xb2/Yb2
    LijnVan3naar4, // Xa3/Ya3 -> Xa4/Ya4 with T-offset 2; edge b in Xb3/Yb3, Xb4/Yb4
};

// Shifts one straight part sideways by its T-offset (that is edge a) and
// builds edge b at the band width beyond it. Positive values lie on the
// right-hand side of the direction of travel as seen on the screen.
void offsetLine(PointRegisters& r, BandPart part);

enum class Edge { A, B };

// Intersects the lines of the two parts of a band's edge (P1-P2 and P3-P4 of
// edge a or b). The point is stored in Xa5/Ya5 or Xb5/Yb5 whether or not it
// is valid; valid means it lies beyond P2 ahead of the first part and before
// P3 behind the second part.
bool rayIntersection(PointRegisters& r, Edge edge);

} // namespace korvimo
