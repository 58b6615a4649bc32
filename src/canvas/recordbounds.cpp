#include "canvas/recordbounds.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "canvas/metafile.h"
#include "canvas/textmetrics.h"

namespace korvimo {

namespace {

// Margins in metafile units on top of the geometry: rounding of the
// integer records and the float boxes.
constexpr double kSlack = 2.0;

struct Extent {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;

    void add(double x, double y)
    {
        if (!any) {
            left = right = x;
            top = bottom = y;
            any = true;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    void add(const QPoint& p) { add(p.x(), p.y()); }

    InkBox grown(double by) const
    {
        InkBox b;
        if (!any)
            return b; // nothing to draw: a box that meets nothing real
        const double g = by + kSlack;
        // Rounded outwards so that float cannot shrink the box.
        constexpr float up = std::numeric_limits<float>::infinity();
        b.left = std::nextafter(static_cast<float>(left - g), -up);
        b.top = std::nextafter(static_cast<float>(top - g), -up);
        b.right = std::nextafter(static_cast<float>(right + g), up);
        b.bottom = std::nextafter(static_cast<float>(bottom + g), up);
        return b;
    }
};

double penReach(const PenSpec& pen)
{
    if (pen.clear || pen.width <= 0)
        return 0; // no line, or one device pixel: the player's margin
    return pen.width / 2.0;
}

Extent boxExtent(const MetaBox& b)
{
    Extent e;
    e.add(b.left, b.top);
    e.add(b.right, b.bottom);
    return e;
}

// The text cell from its top-left point, turned counter-clockwise on
// screen by the escapement, grown by one em every way first.
Extent textExtent(const QPoint& at, const FontSpec& font, const QString& text, const TextMetrics& metrics)
{
    const double w = metrics.textWidth(font, text);
    const double h = metrics.textHeight(font);
    const double em = std::max({std::abs(double(font.height)), h, 1.0});
    // A little over the measured width too: what the painter lays out may
    // differ from the sum of the advances by rounding.
    const double x0 = -em, y0 = -em, x1 = w * 1.02 + em, y1 = h + em;
    Extent e;
    if (font.escapement == 0) {
        e.add(at.x() + x0, at.y() + y0);
        e.add(at.x() + x1, at.y() + y1);
        return e;
    }
    const double a = qDegreesToRadians(font.escapement / 10.0);
    const double c = std::cos(a), s = std::sin(a);
    // y down: a counter-clockwise turn on screen maps (x, y) to
    // (x c + y s, -x s + y c).
    for (const double x : {x0, x1})
        for (const double y : {y0, y1})
            e.add(at.x() + x * c + y * s, at.y() - x * s + y * c);
    return e;
}

} // namespace

std::vector<InkBox> inkBounds(const Metafile& mf, const TextMetrics& metrics)
{
    std::vector<InkBox> out;
    out.reserve(static_cast<size_t>(mf.records().size()));
    PenSpec pen;
    FontSpec font;
    QPoint position;
    InkBox always;
    always.always = true;
    for (const MetaRecord& rec : mf.records()) {
        const double reach = penReach(pen);
        switch (rec.type) {
        case MetaRecordType::Pen:
            pen = rec.pen;
            out.push_back(always);
            break;
        case MetaRecordType::Font:
            font = rec.font();
            out.push_back(always);
            break;
        case MetaRecordType::Brush:
        case MetaRecordType::StretchMetafile:
            out.push_back(always);
            break;
        case MetaRecordType::MoveTo:
            if (!rec.points.isEmpty())
                position = rec.points[0];
            out.push_back(always);
            break;
        case MetaRecordType::LineTo: {
            Extent e;
            if (!rec.points.isEmpty()) {
                e.add(position);
                e.add(rec.points[0]);
                position = rec.points[0];
            }
            out.push_back(e.grown(reach));
            break;
        }
        case MetaRecordType::Polyline:
        case MetaRecordType::Polygon:
        case MetaRecordType::PolyBezier: { // a Bézier stays inside its control points
            Extent e;
            for (const QPoint& p : rec.points)
                e.add(p);
            out.push_back(e.grown(reach));
            break;
        }
        case MetaRecordType::Arc:
        case MetaRecordType::Ellipse:
        case MetaRecordType::Rectangle:
            out.push_back(boxExtent(rec.box).grown(reach));
            break;
        case MetaRecordType::StretchImage:
            out.push_back(boxExtent(rec.box).grown(1));
            break;
        case MetaRecordType::TextOut:
            if (rec.points.isEmpty() || rec.text().isEmpty())
                out.push_back(InkBox{});
            else
                out.push_back(textExtent(rec.points[0], font, rec.text(), metrics).grown(0));
            break;
        }
    }
    return out;
}

std::shared_ptr<const std::vector<InkBox>> inkBoundsFor(const Metafile& metafile)
{
    struct Entry {
        std::uint64_t generation = 0;
        qsizetype count = 0;
        std::shared_ptr<const std::vector<InkBox>> bounds;
    };
    // A few pictures at once: a drawing and the pictures inside it.
    constexpr size_t kKept = 4;
    static std::mutex lock;
    static std::vector<Entry> kept;

    // Worked out under the lock: the lanes of one picture all need the same
    // result and would otherwise each measure every text.
    std::lock_guard<std::mutex> hold(lock);
    for (const Entry& e : kept)
        if (e.generation == metafile.generation() && e.count == metafile.records().size())
            return e.bounds;
    auto bounds = std::make_shared<const std::vector<InkBox>>(inkBounds(metafile, TextMetrics()));
    if (kept.size() >= kKept)
        kept.erase(kept.begin());
    kept.push_back({metafile.generation(), metafile.records().size(), bounds});
    return bounds;
}

} // namespace korvimo
