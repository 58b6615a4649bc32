#pragma once
// The render target: an ordered list of GDI-style drawing records with
// integer coordinates, the picture's size, its kind and its comment.
//
// Contract
// - Coordinates, sizes, pen widths and font heights are metafile units: one
//   unit is one pixel of the 96-DPI reference device. y grows downwards.
// - Colours are Windows colour values 0x00BBGGRR held in an int.
// - Records are kept exactly in the order they were added; nothing is
//   merged, clipped or rounded after the fact.
// - State records (Pen, Brush, Font) set the state used by the drawing
//   records after them. A player starts from the defaults of PenSpec,
//   BrushSpec and FontSpec.
// - dump() is a stable text form, one record a line, integers as recorded:
//   it is what golden tests compare. Two metafiles compare equal exactly
//   when their dumps would be equal and embedded pictures have equal pixels.
// - A Metafile is a plain value; copying it copies the records (embedded
//   bitmaps and metafiles are shared, immutable).
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>

namespace korvimo {

class Metafile;

enum class MetafileKind { Emf, Wmf };

// A rectangle as GDI passes one: left, top, right, bottom.
struct MetaBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const MetaBox&) const = default;
};

// A solid pen. Width 0 draws one device pixel wide whatever the scale;
// wider pens scale with the picture and have round ends and joins. A clear
// pen draws no lines and no outlines (other programs' files use one).
struct PenSpec {
    int color = 0;
    int width = 1;
    bool clear = false;
    bool operator==(const PenSpec&) const = default;
};

// A solid brush, or a clear one (no fill; text drawn without background).
struct BrushSpec {
    int color = 0xFFFFFF;
    bool clear = false;
    bool operator==(const BrushSpec&) const = default;
};

// A logical font as GDI knows it. height follows GDI: negative = the
// character (em) height, positive = the cell height, in metafile units.
// escapement turns the text line, orientation the glyphs, both in tenths of
// a degree counter-clockwise. color is the text colour.
struct FontSpec {
    QString name = QStringLiteral("Arial");
    int height = -11; // 8 points on the reference device
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int escapement = 0;
    int orientation = 0;
    int color = 0;
    bool operator==(const FontSpec&) const = default;
};

enum class MetaRecordType {
    Pen,             // pen
    Brush,           // brush
    Font,            // font
    TextOut,         // points[0] = top-left of the text cell, text
    MoveTo,          // points[0]
    LineTo,          // points[0]: line from the current position, which moves there
    Polyline,        // points, outlined with the pen
    Polygon,         // points, filled with the brush, outlined with the pen
    PolyBezier,      // points: start, then three per cubic segment
    Arc,             // box = the ellipse's bounds; points[0], points[1] = start, end radials
    Ellipse,         // box, filled and outlined
    Rectangle,       // box, filled and outlined
    StretchImage,    // box, image
    StretchMetafile, // box, picture
};

struct MetaRecord {
    MetaRecordType type = MetaRecordType::MoveTo;
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    MetaBox box;
    QList<QPoint> points;
    QString text;
    std::shared_ptr<const QImage> image;
    std::shared_ptr<const Metafile> picture;

    bool operator==(const MetaRecord& other) const;
    // One line of the dump, without line end.
    QString dumpLine() const;
};

class Metafile {
public:
    Metafile() = default;
    Metafile(int width, int height, MetafileKind kind = MetafileKind::Emf);

    int width() const { return m_width; }
    int height() const { return m_height; }
    void setSize(int width, int height);
    MetafileKind kind() const { return m_kind; }
    void setKind(MetafileKind kind) { m_kind = kind; }

    // The comment GDI keeps in an enhanced metafile's header: the creating
    // program and a description of the picture.
    const QString& creator() const { return m_creator; }
    const QString& description() const { return m_description; }
    void setComment(const QString& creator, const QString& description);

    const QList<MetaRecord>& records() const { return m_records; }
    void append(MetaRecord record) { m_records.append(std::move(record)); }
    // Empties the records; size, kind and comment stay.
    void clearRecords() { m_records.clear(); }
    // Empties everything: no records, size 0 × 0, EMF, no comment.
    void clear();
    bool isEmpty() const { return m_records.isEmpty(); }

    // Header line, comment line, then one line per record.
    QStringList dumpLines() const;
    QString dump() const;

    bool operator==(const Metafile& other) const;

private:
    int m_width = 0;
    int m_height = 0;
    MetafileKind m_kind = MetafileKind::Emf;
    QString m_creator;
    QString m_description;
    QList<MetaRecord> m_records;
};

// The first line where two dumps differ, with a few lines of context from
// both sides; empty when they are equal. For test failures and tools.
QString firstDumpDifference(const QStringList& expected, const QStringList& actual);

// A quoted text as the dump writes it: "…" with \" \\ \n \t and \uXXXX for
// other control characters.
QString quoteDumpText(const QString& text);

} // namespace korvimo
