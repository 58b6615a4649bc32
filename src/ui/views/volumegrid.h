#pragma once
// The overview's volume grid as data: which volume lines it shows, how its
// cells are written back into the volume list, and how the scale field reads
// its text. The widgets only show and edit these rows.
#include <QList>
#include <QString>
#include <QStringList>

namespace korvimo {

struct GridRow {
    QString direction; // the line's first four characters
    QString volume;    // the text between "=" and the first ";"
};

// One row per active volume line (kind "I"): text lines ("*") and inactive
// lines ("#") are left out, and so are values (kind "V").
QList<GridRow> volumeGridRows(const QStringList& intensities);

// Blanks removed, then a whole number; anything else counts as 0.
int gridVolume(const QString& text);

// Writes every row back: each line whose first four characters equal a
// row's direction becomes direction "=" volume ";I;", whatever it was before.
// Rows are applied top to bottom, so of two rows with the same direction the
// lower one wins.
void writeBackVolumeGrid(const QList<GridRow>& rows, QStringList* intensities);

// The scale field's text as a scale: a whole number, or 100 when the text is
// not one (an empty field included). Returns false for the text "0", which
// changes nothing.
bool scaleFromText(const QString& text, int* scale);
// The field's up-down step for a scale: 1 up to 10, 5 up to 50, 50 above.
int scaleStep(int scale);

} // namespace korvimo
