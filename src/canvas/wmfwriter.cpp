// Windows metafile output with the placeable header, through libUEMF.
#include <uwmf.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "canvas/metafileio.h"
#include "canvas/metafilesupport.h"
#include "canvas/textmetrics.h"
#include "core/safefile.h"

namespace korvimo {

using namespace metafile_detail;

namespace {

U_COLORREF colorref(int color)
{
    U_COLORREF c;
    c.Red = color & 0xFF;
    c.Green = (color >> 8) & 0xFF;
    c.Blue = (color >> 16) & 0xFF;
    c.Reserved = 0;
    return c;
}

// Whole divisors of 96: the placeable header's units per inch must stay an
// integer when coordinates are divided to fit 16 bits.
int divisorFor(int width, int height)
{
    const int largest = std::max(width, height);
    for (int d : {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 96})
        if (largest / d <= 32000)
            return d;
    return 96;
}

// Cubic Béziers as short straight pieces, as GDI records them in a WMF.
QList<QPoint> flattenBezier(const QList<QPoint>& pts)
{
    QList<QPoint> out;
    if (pts.isEmpty())
        return out;
    out << pts[0];
    for (qsizetype i = 1; i + 2 < pts.size(); i += 3) {
        const QPointF p0 = pts[i - 1], p1 = pts[i], p2 = pts[i + 1], p3 = pts[i + 2];
        const double length = std::hypot(p1.x() - p0.x(), p1.y() - p0.y()) +
                              std::hypot(p2.x() - p1.x(), p2.y() - p1.y()) +
                              std::hypot(p3.x() - p2.x(), p3.y() - p2.y());
        const int steps = std::clamp(static_cast<int>(length / 8), 4, 64);
        for (int s = 1; s <= steps; ++s) {
            const double t = double(s) / steps, u = 1 - t;
            const QPointF p = u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
            out << p.toPoint();
        }
    }
    return out;
}

class WmfWriter {
public:
    WmfWriter(int divisor) : m_div(divisor) {}
    WmfWriter(const WmfWriter&) = delete;
    WmfWriter& operator=(const WmfWriter&) = delete;
    ~WmfWriter()
    {
        if (m_wt)
            wmf_free(&m_wt);
        if (m_wht)
            wmf_htable_free(&m_wht);
    }

    bool start(const QString& path, const Metafile& mf)
    {
        if (wmf_start(QFile::encodeName(path).constData(), 1 << 16, 1 << 16, &m_wt) != 0) {
            m_wt = nullptr;
            return fail(QStringLiteral("Cannot start the metafile."));
        }
        if (wmf_htable_create(128, 128, &m_wht) != 0) {
            m_wht = nullptr;
            return fail(QStringLiteral("Cannot start the metafile."));
        }
        U_PAIRF inches;
        inches.x = static_cast<float>(mf.width() / 96.0);
        inches.y = static_cast<float>(mf.height() / 96.0);
        char* header = U_WMRHEADER_set(&inches, static_cast<unsigned>(96 / m_div));
        if (!header)
            return fail(QStringLiteral("The metafile header could not be built."));
        if (wmf_header_append(reinterpret_cast<U_METARECORD*>(header), m_wt, 1) != 0)
            return fail(QStringLiteral("Out of memory while building the metafile."));
        U_POINT16 origin{0, 0};
        U_POINT16 extent{len(mf.width()), len(mf.height())};
        return add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC)) && add(U_WMRSETWINDOWORG_set(origin)) &&
               add(U_WMRSETWINDOWEXT_set(extent)) && add(U_WMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT)) &&
               add(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE)) && add(U_WMRSETSTRETCHBLTMODE_set(U_COLORONCOLOR)) &&
               brush(BrushSpec()) && pen(PenSpec()) && font(FontSpec());
    }

    bool finish(qint64* size)
    {
        if (!add(U_WMREOF_set()))
            return false;
        *size = static_cast<qint64>(m_wt->used);
        if (wmf_finish(m_wt) != 0)
            return fail(QStringLiteral("Writing the metafile failed."));
        wmf_free(&m_wt);
        m_wt = nullptr;
        return true;
    }

    bool record(const MetaRecord& r)
    {
        auto pt = [&r](int i) { return i < r.points.size() ? r.points[i] : QPoint(); };
        switch (r.type) {
        case MetaRecordType::Pen: return pen(r.pen);
        case MetaRecordType::Brush: return brush(r.brush);
        case MetaRecordType::Font: return font(r.font());
        case MetaRecordType::TextOut: return text(pt(0), r.text());
        case MetaRecordType::MoveTo: return add(U_WMRMOVETO_set(point(pt(0))));
        case MetaRecordType::LineTo: return add(U_WMRLINETO_set(point(pt(0))));
        case MetaRecordType::Polyline: return poly(r.points, false);
        case MetaRecordType::Polygon: return poly(r.points, true);
        case MetaRecordType::PolyBezier: return poly(flattenBezier(r.points), false);
        case MetaRecordType::Arc: return add(U_WMRARC_set(point(pt(0)), point(pt(1)), rect(r.box)));
        case MetaRecordType::Ellipse: return add(U_WMRELLIPSE_set(rect(r.box)));
        case MetaRecordType::Rectangle: return add(U_WMRRECTANGLE_set(rect(r.box)));
        case MetaRecordType::StretchImage: return !r.image() || image(r.box, *r.image());
        case MetaRecordType::StretchMetafile: return true; // inlined before writing
        }
        return true;
    }

    const QString& error() const { return m_error; }

private:
    int16_t coord(int v) const
    {
        const long scaled = std::lround(double(v) / m_div);
        return static_cast<int16_t>(std::clamp<long>(scaled, -32768, 32767));
    }
    int16_t len(int v) const
    {
        if (v == 0)
            return 0;
        const int16_t l = coord(v);
        return l == 0 ? (v > 0 ? 1 : -1) : l;
    }
    U_POINT16 point(const QPoint& p) const { return U_POINT16{coord(p.x()), coord(p.y())}; }
    U_RECT16 rect(const MetaBox& b) const { return U_RECT16{coord(b.left), coord(b.top), coord(b.right), coord(b.bottom)}; }

    bool fail(const QString& message)
    {
        if (m_ok)
            m_error = message;
        m_ok = false;
        return false;
    }

    bool add(char* record)
    {
        if (!m_ok) {
            std::free(record);
            return false;
        }
        if (!record)
            return fail(QStringLiteral("A drawing record could not be built."));
        if (wmf_append(reinterpret_cast<U_METARECORD*>(record), m_wt, 1) != 0)
            return fail(QStringLiteral("Out of memory while building the metafile."));
        return true;
    }

    template <typename Create>
    bool replaceObject(std::optional<uint32_t>& handle, Create create)
    {
        uint32_t fresh = 0;
        if (!add(create(&fresh)))
            return false;
        if (!add(wselectobject_set(fresh, m_wht)))
            return false;
        if (handle) {
            uint32_t old = *handle;
            if (!add(wdeleteobject_set(&old, m_wht)))
                return false;
        }
        handle = fresh;
        return true;
    }

    bool pen(const PenSpec& p)
    {
        const U_PEN up = U_PEN_set(p.clear ? U_PS_NULL : U_PS_SOLID, static_cast<uint16_t>(std::max<int>(0, len(p.width))), colorref(p.color));
        return replaceObject(m_penHandle, [&](uint32_t* ih) { return wcreatepenindirect_set(ih, m_wht, up); });
    }

    bool brush(const BrushSpec& s)
    {
        const U_WLOGBRUSH lb = U_WLOGBRUSH_set(s.clear ? U_BS_NULL : U_BS_SOLID, colorref(s.color), 0);
        return replaceObject(m_brushHandle, [&](uint32_t* ih) { return wcreatebrushindirect_set(ih, m_wht, lb); }) &&
               add(U_WMRSETBKMODE_set(s.clear ? U_TRANSPARENT : U_OPAQUE)) && add(U_WMRSETBKCOLOR_set(colorref(s.color)));
    }

    bool font(const FontSpec& f)
    {
        m_font = f;
        QByteArray face = toWindows1252(f.name.left(31));
        U_FONT* uf = U_FONT_set(len(f.height), 0, static_cast<int16_t>(f.escapement), static_cast<int16_t>(f.orientation),
                                f.bold ? U_FW_BOLD : U_FW_NORMAL, f.italic ? 1 : 0, f.underline ? 1 : 0, 0,
                                U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                                U_DEFAULT_PITCH | U_FF_DONTCARE, face.data());
        if (!uf)
            return fail(QStringLiteral("A font record could not be built."));
        const bool ok = replaceObject(m_fontHandle, [&](uint32_t* ih) { return wcreatefontindirect_set(ih, m_wht, uf); });
        std::free(uf);
        return ok && add(U_WMRSETTEXTCOLOR_set(colorref(f.color)));
    }

    bool text(const QPoint& at, const QString& s)
    {
        if (s.isEmpty())
            return true;
        QByteArray bytes = toWindows1252(s.left(32000));
        // Advances in the file's units; rounding the running sum keeps the
        // total where it was measured.
        const QList<int> adv = m_metrics.advances(m_font, s.left(32000));
        std::vector<int16_t> dx;
        dx.reserve(adv.size());
        long sum = 0, previous = 0;
        for (int a : adv) {
            sum += a;
            const long now = std::lround(double(sum) / m_div);
            dx.push_back(static_cast<int16_t>(std::clamp<long>(now - previous, -32768, 32767)));
            previous = now;
        }
        return add(U_WMREXTTEXTOUT_set(point(at), static_cast<int16_t>(bytes.size()), 0, bytes.constData(), dx.data(),
                                       U_RECT16{0, 0, 0, 0}));
    }

    bool poly(const QList<QPoint>& pts, bool closed)
    {
        if (pts.isEmpty())
            return true;
        std::vector<U_POINT16> p;
        p.reserve(pts.size());
        for (const QPoint& q : pts.mid(0, 32000))
            p.push_back(point(q));
        const auto n = static_cast<uint16_t>(p.size());
        return add(closed ? U_WMRPOLYGON_set(n, p.data()) : U_WMRPOLYLINE_set(n, p.data()));
    }

    bool image(const MetaBox& box, const QImage& img)
    {
        const Dib dib = imageToDib(img);
        if (dib.pixels.isEmpty())
            return true;
        U_BITMAPINFOHEADER bih;
        std::memcpy(&bih, dib.header.constData(), sizeof bih);
        PU_BITMAPINFO bmi = bitmapinfo_set(bih, nullptr);
        if (!bmi)
            return fail(QStringLiteral("A bitmap record could not be built."));
        const bool ok = add(U_WMRSTRETCHDIB_set(point(QPoint(box.left, box.top)),
                                                U_POINT16{len(boxSpan(box.left, box.right)), len(boxSpan(box.top, box.bottom))}, U_POINT16{0, 0},
                                                U_POINT16{static_cast<int16_t>(dib.width), static_cast<int16_t>(dib.height)},
                                                U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
                                                static_cast<uint32_t>(dib.pixels.size()), dib.pixels.constData()));
        std::free(bmi);
        return ok;
    }

    int m_div;
    WMFTRACK* m_wt = nullptr;
    WMFHANDLES* m_wht = nullptr;
    bool m_ok = true;
    QString m_error;
    TextMetrics m_metrics;
    FontSpec m_font;
    std::optional<uint32_t> m_penHandle, m_brushHandle, m_fontHandle;
};

} // namespace

namespace {

bool buildWmf(const Metafile& flat, const QString& path, QString* error)
{
    WmfWriter writer(divisorFor(flat.width(), flat.height()));
    qint64 size = 0;
    bool ok = writer.start(path, flat);
    for (const MetaRecord& r : flat.records()) {
        if (!ok)
            break;
        ok = writer.record(r);
    }
    if (!ok || !writer.finish(&size)) {
        if (error)
            *error = writer.error();
        return false;
    }
    return wholeFileWritten(path, size, error);
}

} // namespace

qsizetype wmfClampedCoordinates(const Metafile& metafile)
{
    const Metafile flat = inlinePictures(metafile);
    const long divisor = divisorFor(flat.width(), flat.height());
    const auto outside = [divisor](int v) {
        const long scaled = std::lround(double(v) / divisor);
        return scaled < -32768 || scaled > 32767;
    };
    qsizetype count = 0;
    for (const MetaRecord& r : flat.records()) {
        for (const QPoint& p : r.points)
            count += qsizetype(outside(p.x())) + qsizetype(outside(p.y()));
        switch (r.type) {
        case MetaRecordType::Arc:
        case MetaRecordType::Ellipse:
        case MetaRecordType::Rectangle:
        case MetaRecordType::StretchImage:
        case MetaRecordType::StretchMetafile:
            for (const int v : {r.box.left, r.box.top, r.box.right, r.box.bottom})
                count += qsizetype(outside(v));
            break;
        default:
            break;
        }
    }
    return count;
}

QByteArray wmfBytes(const Metafile& metafile, QString* error)
{
    return metafileBytes(metafile, buildWmf, "picture.wmf", error);
}

bool writeWmf(const Metafile& metafile, const QString& path, QString* error)
{
    QString reason;
    const QByteArray bytes = wmfBytes(metafile, &reason);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return writeWholeFile(path, bytes, error);
}

} // namespace korvimo
