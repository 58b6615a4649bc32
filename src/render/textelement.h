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
// - With the program setting KeepTextsUpright a text that would read upside
//   down is turned half a turn about its anchor, alignment mirrored, so it
//   stays where it was and reads from left to right; without it every text
//   keeps the angle its line gives.
#include <QString>

namespace korvimo {

class RenderState;
class ScriptFieldReader;

void interpretTxt(RenderState& s, ScriptFieldReader& fields);
void drawTxt(RenderState& s);

// True when a text line at this angle (degrees, counter-clockwise) would
// read upside down: strictly between 90 and 270 after reduction to 0..360.
bool readsUpsideDown(long double degrees);

// The upright form of a text at angle phi with the given alignment ("L",
// "C", "R" or none): unchanged unless it reads upside down, else turned by
// 180 degrees with L and R swapped, so it covers the same box. Used when
// the program setting KeepTextsUpright is on.
void keepUpright(long double& phi, QString& alignment);

// The text of a text variable ("Username", "Filename", "Title01".."Title05",
// "Streetname01".."Streetname16"); "?" for any other name.
QString textVariable(const RenderState& s, const QString& name);

// The login name of the user running the program; never empty.
QString loginName();

} // namespace korvimo
