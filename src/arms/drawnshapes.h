#pragma once
// Where a recorded drawing puts ink, read back from its records: the band
// shapes (filled polygons and the wide arcs that fill curved bands), the
// cells of the texts and the bounds of everything. The arms wizard's
// finishing step places street names and fits the arms into the picture
// with it; tests check the same facts on the records.
//
// Contract
// - Coordinates are metafile units, y down, as recorded.
// - The first text of a drawing is the renderer's hidden signature; it is
//   left out of texts and bounds.
// - A band is a Polygon record drawn with a solid brush, or an Arc record
//   whose pen is wider than the outline width given (the fill of a curved
//   band); an arc becomes the ring sector its pen covers, as a polygon.
//   Thin lines and thin arcs (outlines, kerbs, the island's ring) are no
//   bands but count for the bounds; their straight segments are strokes.
// - A text cell is the rotated rectangle of the text's measured width and
//   cell height from its top-left corner.
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include "canvas/metafile.h"

namespace korvimo {

class TextMetrics;

struct DrawnText {
    QString text;
    QPolygonF cell;
    double angle = 0; // degrees, counter-clockwise, from the escapement
};

struct DrawnShapes {
    QList<QPolygonF> bands;
    // Thin lines (kerbs, outlines) as the quads their pens cover, one per segment.
    QList<QPolygonF> strokes;
    QList<DrawnText> texts;
    // The bounds of each drawing record but single lines, in order: a
    // rectangle's gradient is a line per row, and says nothing alone.
    QList<QRectF> pieces;
    QRectF bounds;        // of every drawing record; empty when there is none
};

DrawnShapes drawnShapes(const Metafile& picture, int outlineWidth, const TextMetrics& metrics);

// The rotated cell of a text of width w and height h whose top-left corner
// is at topLeft, the text line running at angle degrees.
QPolygonF textCell(QPointF topLeft, double w, double h, double angle);

// The ring sector an arc record's pen covers (from its start radial
// counter-clockwise on screen to its end radial), as a polygon.
QPolygonF arcSector(const MetaRecord& arc, double penWidth);

// True when two shapes' outlines cross or one contains the other; shapes
// that touch count as overlapping.
bool shapesOverlap(const QPolygonF& a, const QPolygonF& b);

} // namespace korvimo
