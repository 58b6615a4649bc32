// Embedded metafiles written out as records of the outer drawing: metafile
// formats have no record for "draw this other metafile here", so GDI itself
// records the inner picture's calls when one is played into a metafile.
#include <climits>
#include <cmath>

#include "canvas/metafileio.h"

namespace korvimo {

namespace {

constexpr int kMaxDepth = 8;

// Nearest int; beyond the range (a picture stretched from a box at the far
// end of it) the nearest end, never a wrapped value.
int nearestInt(double v)
{
    if (!(v > INT_MIN && v < INT_MAX))
        return std::isnan(v) ? 0 : v < 0 ? INT_MIN : INT_MAX;
    return static_cast<int>(std::lround(v));
}

struct Mapping {
    double sx = 1, sy = 1, dx = 0, dy = 0;
    int x(int v) const { return nearestInt(dx + v * sx); }
    int y(int v) const { return nearestInt(dy + v * sy); }
    QPoint map(const QPoint& p) const { return QPoint(x(p.x()), y(p.y())); }
    int length(int v, double scale) const
    {
        if (v == 0)
            return 0;
        const int l = nearestInt(v * scale);
        return l == 0 ? (v > 0 ? 1 : -1) : l; // a line stays a line
    }
};

void appendMapped(Metafile& out, const Metafile& in, const Mapping& m, int depth);

void appendRecord(Metafile& out, const MetaRecord& rec, const Mapping& m, int depth)
{
    if (rec.type == MetaRecordType::StretchMetafile) {
        if (!rec.picture() || rec.picture()->width() <= 0 || rec.picture()->height() <= 0 || depth >= kMaxDepth)
            return;
        const Metafile& inner = *rec.picture();
        Mapping im;
        // Edges anywhere in the int range: the box's size taken in doubles.
        im.sx = m.sx * (double(rec.box.right) - rec.box.left) / inner.width();
        im.sy = m.sy * (double(rec.box.bottom) - rec.box.top) / inner.height();
        im.dx = m.dx + rec.box.left * m.sx;
        im.dy = m.dy + rec.box.top * m.sy;
        appendMapped(out, inner, im, depth + 1);
        return;
    }
    MetaRecord r = rec;
    for (QPoint& p : r.points)
        p = m.map(p);
    r.box = {m.x(rec.box.left), m.y(rec.box.top), m.x(rec.box.right), m.y(rec.box.bottom)};
    r.pen.width = m.length(rec.pen.width, (std::abs(m.sx) + std::abs(m.sy)) / 2);
    if (rec.type == MetaRecordType::Font)
        r.fontRef().height = m.length(rec.font().height, std::abs(m.sy));
    out.append(std::move(r));
}

void appendMapped(Metafile& out, const Metafile& in, const Mapping& m, int depth)
{
    // The inner picture starts from the default state, as when played on
    // its own; the outer state is put back after it.
    MetaRecord pen, brush, font;
    pen.type = MetaRecordType::Pen;
    brush.type = MetaRecordType::Brush;
    font.type = MetaRecordType::Font;
    std::optional<MetaRecord> outerPen, outerBrush, outerFont;
    for (const MetaRecord& r : out.records()) {
        if (r.type == MetaRecordType::Pen)
            outerPen = r;
        else if (r.type == MetaRecordType::Brush)
            outerBrush = r;
        else if (r.type == MetaRecordType::Font)
            outerFont = r;
    }
    appendRecord(out, pen, m, depth);
    appendRecord(out, brush, m, depth);
    appendRecord(out, font, m, depth);
    for (const MetaRecord& r : in.records())
        appendRecord(out, r, m, depth);
    out.append(outerPen.value_or(MetaRecord{MetaRecordType::Pen}));
    out.append(outerBrush.value_or(MetaRecord{MetaRecordType::Brush}));
    out.append(outerFont.value_or(MetaRecord{MetaRecordType::Font}));
}

} // namespace

Metafile inlinePictures(const Metafile& metafile)
{
    Metafile out(metafile.width(), metafile.height(), metafile.kind());
    out.setComment(metafile.creator(), metafile.description());
    const Mapping identity;
    for (const MetaRecord& r : metafile.records()) {
        if (r.type == MetaRecordType::StretchMetafile)
            appendRecord(out, r, identity, 0);
        else
            out.append(r);
    }
    return out;
}

} // namespace korvimo
