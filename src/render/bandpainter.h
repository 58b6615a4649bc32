#pragma once
// The band painter shared by straight bands and the straight parts of arcs:
// arrow preparation, the band with its arrow ends, and the straight joint
// that stands in for an arc that cannot be drawn as a curve.
namespace korvimo {

class RenderState;

enum class BandKind {
    Lne, // unshortened end corners in Xa2/Ya2 and Xb2/Yb2
    Arc, // the second straight part of an arc: Xa4/Ya4 and Xb4/Yb4
};

struct BandCorners {
    long double xa1, ya1; // edge a start
    long double xa2, ya2; // edge a end
    long double xb1, yb1; // edge b start
    long double xb2, yb2; // edge b end
};

// Fills the arrow registers (Pijl...): copies the corners, moves the ends
// that carry an arrow by |arrowsize| along the band and sets the arrow
// points. The sign of arrowsize picks which end is pointed and which is
// notched.
void prepareArrows(RenderState& s, bool startArrow, bool endArrow, const BandCorners& corners);

// Draws the band from the arrow registers: the fill (when sfill), the two
// long edges and the arrow ends.
void paintBand(RenderState& s, BandKind kind, bool startArrow, bool endArrow);

// "LVU": the quadrilateral between the end of part 1 (Xa2/Ya2, Xb2/Yb2)
// and the start of part 2 (Xa3/Ya3, Xb3/Yb3), with its two side lines.
void drawStraightJoint(RenderState& s);

} // namespace korvimo
