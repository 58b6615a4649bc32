#pragma once
// The scale legend (LEG lines): one band as wide as a chosen volume in the
// diagram's own scale, with the volume and its unit written beside it, so a
// reader can tell what a band's width means.
//
// Line: LEG;1;point;volume;colour;length;
// - point: the band's top-left corner; the band runs to the right of it;
// - volume: whole vehicles per hour; the band is sfactor x volume / 4000
//   metafile units wide, like every band, but intmin does not hide it;
// - colour: as every colour field;
// - length: diagram units.
// A volume below 1 or a length below 1 draws nothing; a volume or length
// that is not a whole number stops the drawing like every integer field.
// Older programs skip the line, since its code is none of theirs.
#include <QString>

namespace korvimo {

class RenderState;
class ScriptFieldReader;

void interpretLeg(RenderState& s, ScriptFieldReader& fields);
void drawLeg(RenderState& s);

// The legend's text for a volume ("500 mvt/h" in Dutch), from the language
// texts.
QString legendText(const RenderState& s, int volume);

} // namespace korvimo
