#pragma once
// What the driver adds on top of the elements: intersection markers, the
// intersection check dump and the coordinate labels.
#include <QStringList>

namespace korvimo {

class MetaCanvas;
class RenderState;

// A marker at (x, y): a tiny ellipse drawn with a 30 units wide pen in the
// given colour. The pen width is left at 30; callers set it back.
void drawIntersectionMarker(MetaCanvas& c, int colour, long double x, long double y);

// Appends the check block of the current line: its registers scaled by
// 1000, the arrow registers, the radius and the arc-bound figures.
void appendCheckBlock(RenderState& s);

// A blue label with the name on aqua beside every point of the working
// coordinate list, inactive points included; helper points ("A...") and
// text lines are left out.
void drawCoordinateLabels(RenderState& s);

} // namespace korvimo
