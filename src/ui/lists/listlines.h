#pragma once
// The line rules of list editing without any window: building and reading
// coordinate and volume lines as their editors write them, where a new line
// goes, the function-text check of the volume-function dialog, and the
// clipboard texts of the Edit menu.
#include <QList>
#include <QString>
#include <QStringList>

#include "ui/views/volumegrid.h"

namespace korvimo {

// Where an edited line goes. `selected` is the list's current row (-1 for
// none): a change replaces it; an add goes right after it, or at the end.
int insertPosition(int selected, int count);

// True when a line of `lines` carries `number`: its first four characters
// form a whole number equal to it. Text ("*") and inactive ("#") lines
// never do.
bool numberExists(const QStringList& lines, int number);

// "#" when inactive, the number as four digits, "=", then the fields each
// followed by ";".
QString numberedLine(bool inactive, int number, const QStringList& fields);

// A coordinate or volume line as its editor reads it. `fields` holds the
// texts after "=": for coordinates X and Y; for volumes the value and the
// first character after its ";" (the kind).
struct NumberedLine {
    bool isText = false; // "*" line: `text` holds what follows the "*"
    QString text;
    bool inactive = false;
    int number = 0;
    int first = 0;       // X, or the value
    int second = 0;      // Y (coordinates only)
    bool volume = true;  // kind "I" (volumes only)
};
// Throws ConversionError when the number, X, Y or the value is not a
// whole number.
NumberedLine readCoordinateLine(const QString& line);
NumberedLine readIntensityLine(const QString& line);

// The function text of a value expression (the part inside the brackets):
// empty, or four-character whole-number names joined by single "+" or "-".
bool isValidFunctionText(const QString& text);

// Upper case in the letters a to z only, as the script copy writes its
// headings ("Coördinaten" gives "COöRDINATEN").
QString upperAsciiLetters(const QString& text);

// The text that "Script kopiëren" puts on the clipboard, lines joined by
// CR LF: each heading in capitals, then its list, separated by empty lines.
QString scriptCopyText(const QString& scriptHeader, const QStringList& script, const QString& coordsHeader,
                       const QStringList& coordinates, const QString& intHeader, const QStringList& intensities);

// One line per grid row: an apostrophe, the direction, a tab and the
// volume, joined by CR LF.
QString volumeListCopyText(const QList<GridRow>& rows);

// Pastes a clipboard text into the grid rows. Every line with a tab gives a
// name (before the first tab) and a volume (the rest, further tabs
// removed), apostrophes dropped. A grid row whose name equals a pasted
// name (blanks trimmed, case matters) takes the last such volume. Returns
// the number of grid rows that matched; when none did, `rows` is left as
// it was.
int pasteVolumeList(const QString& clipboardText, QList<GridRow>& rows);

} // namespace korvimo
