#pragma once
// Arc flows: a band made of two straight parts (P1-P2 and P3-P4) joined by a
// circular curve in the corner where the two parts' lines meet.
//
// Contract
// - interpretArc reads an ARC or AR2 line into the registers: both parts'
//   edges (Xa1..Xa4, Xb1..Xb4), the corners (Xa5, Xb5), the second tangent
//   point (Xa6, Xb6), the chord middle (Xa7), the centre (Xa8) and the
//   radius. The element code register ends as "ARC" (draw the curve), "LVU"
//   (the corner is drawn straight; two LNE lines that draw the parts were
//   inserted after the line) or empty (nothing: width 0, or an ARC that was
//   split into two AR2 halves inserted after it).
// - A split adds the helper points A061/A071 to the working coordinates and
//   A000=0;V; to the working values; an ARC line first drops every working
//   point whose name does not start with a digit, so helpers never pile up.
// - drawArc paints the curve (fill, both edges), the extension of the part
//   that ends farther from the corner, the two straight parts with their
//   arrows and, when intersections are shown, the markers. With the test
//   drawing switch the curve is made of Bézier segments instead of arcs.
// - Nothing here loops over input-sized ranges: the work per line is fixed,
//   whatever the coordinates.
#include <QString>

namespace korvimo {

class RenderState;
class ScriptFieldReader;

void interpretArc(RenderState& s, ScriptFieldReader& fields);
void drawArc(RenderState& s);

// The arc direction choice: 0 = no arc, 1 = counter-clockwise from the
// tangent point Xa6/Ya6 to the other tangent point, 2 = from the other
// tangent point to Xa6/Ya6. Exposed for tests; drawArc uses it.
int arcDirectionChoice(const RenderState& s);

} // namespace korvimo
