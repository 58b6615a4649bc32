#pragma once
// Texts and labels (TXT lines): free text, volume labels and text variables,
// placed at a point or along two points, shifted, rotated and aligned.
//
// Contract
// - interpretTxt sets the base point (Xa1/Ya1, already shifted by the two
//   shift expressions), the reference angle and the text state. Alignment
//   and content that the line does not give stay as the previous text line
//   left them; a malformed rotation or size stops the drawing
//   (ConversionError), nothing about the content ever does.
// - drawTxt writes one text run with a rotated font, centred vertically on
//   the base point and aligned by the text's measured width (canvas
//   TextMetrics, so measuring and drawing agree). An empty text draws
//   nothing.
#include <QString>

namespace korvimo {

class RenderState;
class ScriptFieldReader;

void interpretTxt(RenderState& s, ScriptFieldReader& fields);
void drawTxt(RenderState& s);

// The text of a text variable ("Username", "Filename", "Title01".."Title05",
// "Streetname01".."Streetname16"); "?" for any other name.
QString textVariable(const RenderState& s, const QString& name);

// The login name of the user running the program; never empty.
QString loginName();

} // namespace korvimo
