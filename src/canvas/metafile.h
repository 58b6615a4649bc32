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

#include <algorithm>
#include <cstdint>
#include <initializer_list>
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

enum class MetaRecordType : std::uint8_t {
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

// The points of one record. Nearly every record has one or two, and a
// drawing can hold millions of records, so those two live inside the record.
class MetaPoints {
public:
    MetaPoints() = default;
    MetaPoints(std::initializer_list<QPoint> points);
    MetaPoints(const QList<QPoint>& points); // NOLINT: a point list is a point list
    MetaPoints(const MetaPoints& other);
    MetaPoints(MetaPoints&& other) noexcept;
    MetaPoints& operator=(const MetaPoints& other);
    MetaPoints& operator=(MetaPoints&& other) noexcept;
    ~MetaPoints();

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    bool empty() const { return m_size == 0; }
    const QPoint* constData() const { return ptr(); }
    const QPoint* data() const { return ptr(); }
    QPoint* data() { return ptr(); }
    const QPoint* begin() const { return ptr(); }
    const QPoint* end() const { return ptr() + m_size; }
    QPoint* begin() { return ptr(); }
    QPoint* end() { return ptr() + m_size; }
    const QPoint& operator[](qsizetype i) const { return ptr()[i]; }
    QPoint& operator[](qsizetype i) { return ptr()[i]; }
    const QPoint& first() const { return ptr()[0]; }
    const QPoint& last() const { return ptr()[m_size - 1]; }
    void append(const QPoint& p);
    void reserve(qsizetype n);
    void clear();

    QList<QPoint> toList() const { return QList<QPoint>(begin(), end()); }
    operator QList<QPoint>() const { return toList(); } // NOLINT: for the writers' point lists

    bool operator==(const MetaPoints& other) const;
    friend bool operator==(const MetaPoints& a, const QList<QPoint>& b)
    {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }

private:
    static constexpr std::uint32_t kInline = 2;
    bool onHeap() const { return m_capacity > kInline; }
    const QPoint* ptr() const { return onHeap() ? m_heap : reinterpret_cast<const QPoint*>(m_inline); }
    QPoint* ptr() { return onHeap() ? m_heap : reinterpret_cast<QPoint*>(m_inline); }

    std::uint32_t m_size = 0;
    std::uint32_t m_capacity = kInline;
    union {
        int m_inline[2 * kInline] = {};
        QPoint* m_heap;
    };
};

// What only fonts, texts and pictures carry, kept apart so that the many
// pen and line records stay small. Shared between copies, copied on write.
struct MetaRecordDetail {
    FontSpec font;
    QString text;
    std::shared_ptr<const QImage> image;
    std::shared_ptr<const Metafile> picture;
};

struct MetaRecord {
    MetaRecord() = default;
    MetaRecord(MetaRecordType recordType) : type(recordType) {} // NOLINT: MetaRecord{type}

    MetaRecordType type = MetaRecordType::MoveTo;
    PenSpec pen;
    BrushSpec brush;
    MetaBox box;
    MetaPoints points;

    const FontSpec& font() const;
    void setFont(const FontSpec& font) { detail().font = font; }
    FontSpec& fontRef() { return detail().font; }
    const QString& text() const;
    void setText(const QString& text) { detail().text = text; }
    const std::shared_ptr<const QImage>& image() const;
    void setImage(std::shared_ptr<const QImage> image) { detail().image = std::move(image); }
    const std::shared_ptr<const Metafile>& picture() const;
    void setPicture(std::shared_ptr<const Metafile> picture) { detail().picture = std::move(picture); }

    bool operator==(const MetaRecord& other) const;
    // One line of the dump, without line end.
    QString dumpLine() const;

private:
    MetaRecordDetail& detail();
    std::shared_ptr<MetaRecordDetail> m_detail;
};

// The most records one picture may hold. A legible diagram has a few
// hundred thousand at most; beyond this a file is asking for gigabytes
// (a gradient records a line per row), so recording stops there.
inline constexpr qsizetype kMetafileRecordBudget = qsizetype(4) << 20;

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
    // Appends the record, unless the picture already holds
    // kMetafileRecordBudget records: then nothing is added and
    // budgetReached() says so from then on.
    void append(MetaRecord record);
    bool budgetReached() const { return m_budgetReached; }
    // A smaller budget for this picture (at most kMetafileRecordBudget);
    // it stays through clear().
    void setRecordBudget(qsizetype records) { m_budget = std::clamp<qsizetype>(records, 0, kMetafileRecordBudget); }
    qsizetype recordBudget() const { return m_budget; }
    // Empties the records; size, kind and comment stay.
    void clearRecords();
    // Empties everything but the budget: no records, size 0 × 0, EMF, no comment.
    void clear();
    bool isEmpty() const { return m_records.isEmpty(); }

    // Header line, comment line, then one line per record.
    QStringList dumpLines() const;
    QString dump() const;

    bool operator==(const Metafile& other) const;

    // Changes whenever the records change, and is never the same for two
    // different record lists in one run: players key what they work out
    // about the records by it. Copies share it with their original.
    std::uint64_t generation() const { return m_generation; }

private:
    int m_width = 0;
    int m_height = 0;
    MetafileKind m_kind = MetafileKind::Emf;
    QString m_creator;
    QString m_description;
    QList<MetaRecord> m_records;
    std::uint64_t m_generation = 0;
    qsizetype m_budget = kMetafileRecordBudget;
    bool m_budgetReached = false;
};

// The first line where two dumps differ, with a few lines of context from
// both sides; empty when they are equal. For test failures and tools.
QString firstDumpDifference(const QStringList& expected, const QStringList& actual);

// A quoted text as the dump writes it: "…" with \" \\ \n \t and \uXXXX for
// other control characters.
QString quoteDumpText(const QString& text);

} // namespace korvimo

// Moving a record in memory moves its parts (no part points into the
// record itself), so the list may grow by reallocating.
Q_DECLARE_TYPEINFO(korvimo::MetaPoints, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(korvimo::MetaRecord, Q_RELOCATABLE_TYPE);
