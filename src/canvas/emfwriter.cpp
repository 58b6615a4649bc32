// Enhanced metafile output through libUEMF. Every record is built with the
// library's *_set functions; we only decide which records, in which order.
#include <uemf.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <vector>

#include "canvas/metafileio.h"
#include "canvas/metafilesupport.h"
#include "canvas/textmetrics.h"
#include "core/safefile.h"

namespace korvimo {

using namespace metafile_detail;

namespace {

// The reference device of every file we write: 960 pixels are exactly
// 254 mm, so one pixel is 1/96 inch and the header states 96 DPI exactly.
constexpr int kDevicePixels = 960;
constexpr int kDeviceMillimetres = 254;

U_COLORREF colorref(int color)
{
    return colorref3_set(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

U_POINTL pointl(const QPoint& p)
{
    return point32_set(p.x(), p.y());
}

U_RECTL rectl(int left, int top, int right, int bottom)
{
    U_RECTL r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

U_RECTL boxRectl(const MetaBox& b)
{
    return rectl(b.left, b.top, b.right, b.bottom);
}

int fitInt32(double v)
{
    return static_cast<int>(std::clamp<double>(v, std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max()));
}

U_RECTL pointBounds(const QList<QPoint>& points, int penWidth)
{
    if (points.isEmpty())
        return rectl(0, 0, 0, 0);
    int l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPoint& p : points) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    // Points at the ends of the integer range widened by half a pen: the
    // bounds are computed wide and kept within what the record can hold.
    const double grow = std::max(0, penWidth / 2);
    return rectl(fitInt32(l - grow), fitInt32(t - grow), fitInt32(r + grow), fitInt32(b + grow));
}

std::vector<uint16_t> utf16le(const QString& text, std::size_t minimumSize = 0)
{
    std::vector<uint16_t> out(std::max<std::size_t>(text.size() + 1, minimumSize), 0);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = qToLittleEndian<uint16_t>(text[i].unicode());
    return out;
}

class EmfBuilder {
public:
    EmfBuilder() = default;
    EmfBuilder(const EmfBuilder&) = delete;
    EmfBuilder& operator=(const EmfBuilder&) = delete;
    ~EmfBuilder()
    {
        if (m_et)
            emf_free(&m_et);
        if (m_eht)
            emf_htable_free(&m_eht);
    }

    bool start(const QString& path)
    {
        if (emf_start(QFile::encodeName(path).constData(), 1 << 16, 1 << 16, &m_et) != 0) {
            m_et = nullptr;
            return fail(QStringLiteral("Cannot start the metafile."));
        }
        if (emf_htable_create(128, 128, &m_eht) != 0) {
            m_eht = nullptr;
            return fail(QStringLiteral("Cannot start the metafile."));
        }
        return true;
    }

    // Takes ownership of a record from a *_set function.
    bool add(char* record)
    {
        if (!m_ok) {
            std::free(record);
            return false;
        }
        if (!record)
            return fail(QStringLiteral("A drawing record could not be built."));
        if (emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), m_et, 1) != 0)
            return fail(QStringLiteral("Out of memory while building the metafile."));
        return true;
    }

    // Creates an object with a lower-case *_set helper, selects it and
    // deletes the one it replaces.
    template <typename Create>
    bool replaceObject(uint32_t& handle, Create create)
    {
        uint32_t fresh = 0;
        if (!add(create(&fresh)))
            return false;
        if (!add(selectobject_set(fresh, m_eht)))
            return false;
        if (handle != 0 && !add(deleteobject_set(&handle, m_eht)))
            return false;
        handle = fresh;
        return true;
    }

    bool finish(qint64* size)
    {
        if (!add(U_EMREOF_set(0, nullptr, m_et)))
            return false;
        *size = static_cast<qint64>(m_et->used);
        if (emf_finish(m_et, m_eht) != 0)
            return fail(QStringLiteral("Writing the metafile failed."));
        emf_free(&m_et);
        m_et = nullptr;
        return true;
    }

    bool fail(const QString& message)
    {
        if (m_ok)
            m_error = message;
        m_ok = false;
        return false;
    }

    EMFTRACK* track() { return m_et; }
    EMFHANDLES* handles() { return m_eht; }
    const QString& error() const { return m_error; }

private:
    EMFTRACK* m_et = nullptr;
    EMFHANDLES* m_eht = nullptr;
    bool m_ok = true;
    QString m_error;
};

class EmfRecordWriter {
public:
    explicit EmfRecordWriter(EmfBuilder& b) : m_b(b) {}

    bool header(const Metafile& mf)
    {
        const int w = mf.width(), h = mf.height();
        // The frame is in 0.01 mm; 96 reference pixels are 2540 of those.
        const U_RECTL bounds = rectl(0, 0, std::max(0, w - 1), std::max(0, h - 1));
        // A drawing wider than 84 km would not fit the frame's integers: its
        // frame ends at the largest one rather than wrapping to a negative.
        const auto frameUnits = [](int pixels) {
            return static_cast<int32_t>(std::min<double>(std::round(pixels * 2540.0 / 96.0), INT32_MAX));
        };
        const U_RECTL frame = rectl(0, 0, frameUnits(w), frameUnits(h));
        QString desc;
        if (!mf.creator().isEmpty() || !mf.description().isEmpty())
            desc = mf.creator() + QChar(0) + mf.description();
        std::vector<uint16_t> text = utf16le(desc); // NUL-terminated
        const uint32_t count = desc.isEmpty() ? 0 : static_cast<uint32_t>(text.size());
        return m_b.add(U_EMRHEADER_set(bounds, frame, nullptr, count, count ? text.data() : nullptr,
                                       sizel_set(kDevicePixels, kDevicePixels),
                                       sizel_set(kDeviceMillimetres, kDeviceMillimetres), 0)) &&
               m_b.add(U_EMRSETMAPMODE_set(U_MM_TEXT)) && m_b.add(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT)) &&
               m_b.add(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE)) &&
               m_b.add(U_EMRSETARCDIRECTION_set(U_AD_COUNTERCLOCKWISE)) &&
               m_b.add(U_EMRSETSTRETCHBLTMODE_set(U_COLORONCOLOR)) && brush(BrushSpec()) && pen(PenSpec()) &&
               font(FontSpec());
    }

    bool pen(const PenSpec& p)
    {
        m_pen = p;
        U_POINT width;
        width.x = std::max(0, p.width);
        width.y = 0;
        const U_LOGPEN lp = logpen_set(p.clear ? U_PS_NULL : U_PS_SOLID, width, colorref(p.color));
        return m_b.replaceObject(m_penHandle, [&](uint32_t* ih) { return createpen_set(ih, m_b.handles(), lp); });
    }

    bool brush(const BrushSpec& s)
    {
        m_brush = s;
        const U_LOGBRUSH lb = logbrush_set(s.clear ? U_BS_NULL : U_BS_SOLID, colorref(s.color), 0);
        // Text backgrounds follow the brush, as on the drawing surface.
        return m_b.replaceObject(m_brushHandle,
                                 [&](uint32_t* ih) { return createbrushindirect_set(ih, m_b.handles(), lb); }) &&
               m_b.add(U_EMRSETBKMODE_set(s.clear ? U_TRANSPARENT : U_OPAQUE)) &&
               m_b.add(U_EMRSETBKCOLOR_set(colorref(s.color)));
    }

    bool font(const FontSpec& f)
    {
        m_font = f;
        std::vector<uint16_t> face = utf16le(f.name.left(31), U_LF_FACESIZE);
        const U_LOGFONT lf = logfont_set(f.height, 0, f.escapement, f.orientation, f.bold ? U_FW_BOLD : U_FW_NORMAL,
                                         f.italic ? 1 : 0, f.underline ? 1 : 0, 0, U_DEFAULT_CHARSET,
                                         U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                                         U_DEFAULT_PITCH | U_FF_DONTCARE, face.data());
        return m_b.replaceObject(m_fontHandle,
                                 [&](uint32_t* ih) {
                                     return extcreatefontindirectw_set(ih, m_b.handles(),
                                                                       reinterpret_cast<const char*>(&lf), nullptr);
                                 }) &&
               m_b.add(U_EMRSETTEXTCOLOR_set(colorref(f.color)));
    }

    bool text(const QPoint& at, const QString& s)
    {
        if (s.isEmpty())
            return true;
        const QList<int> adv = m_metrics.advances(m_font, s);
        std::vector<uint32_t> dx(adv.begin(), adv.end());
        std::vector<uint16_t> chars = utf16le(s);
        int width = 0;
        for (int a : adv)
            width += a;
        const int height = m_metrics.textHeight(m_font);
        const U_RECTL bounds = textBounds(at, width, height);
        char* et = emrtext_set(pointl(at), static_cast<U_NUM_STR>(s.size()), 2, chars.data(), 0,
                               rectl(0, 0, -1, -1), dx.data());
        if (!et)
            return m_b.fail(QStringLiteral("A text record could not be built."));
        const bool ok = m_b.add(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, 2540.0f / 96.0f, 2540.0f / 96.0f,
                                                     reinterpret_cast<PU_EMRTEXT>(et)));
        std::free(et);
        return ok;
    }

    bool points(MetaRecordType type, const QList<QPoint>& pts)
    {
        std::vector<U_POINTL> p;
        p.reserve(pts.size());
        for (const QPoint& q : pts)
            p.push_back(pointl(q));
        const U_RECTL bounds = pointBounds(pts, m_pen.width);
        const auto n = static_cast<uint32_t>(p.size());
        switch (type) {
        case MetaRecordType::Polyline: return m_b.add(U_EMRPOLYLINE_set(bounds, n, p.data()));
        case MetaRecordType::Polygon: return m_b.add(U_EMRPOLYGON_set(bounds, n, p.data()));
        default: return m_b.add(U_EMRPOLYBEZIER_set(bounds, n, p.data()));
        }
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
            return m_b.fail(QStringLiteral("A bitmap record could not be built."));
        QByteArray px = dib.pixels;
        const bool ok = m_b.add(U_EMRSTRETCHDIBITS_set(
            boxRectl(box), point32_set(box.left, box.top), point32_set(boxSpan(box.left, box.right), boxSpan(box.top, box.bottom)), point32_set(0, 0),
            point32_set(dib.width, dib.height), U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
            static_cast<uint32_t>(px.size()), px.data()));
        std::free(bmi);
        return ok;
    }

    bool record(const MetaRecord& r)
    {
        auto pt = [&r](int i) { return i < r.points.size() ? r.points[i] : QPoint(); };
        switch (r.type) {
        case MetaRecordType::Pen: return pen(r.pen);
        case MetaRecordType::Brush: return brush(r.brush);
        case MetaRecordType::Font: return font(r.font());
        case MetaRecordType::TextOut: return text(pt(0), r.text());
        case MetaRecordType::MoveTo: return m_b.add(U_EMRMOVETOEX_set(pointl(pt(0))));
        case MetaRecordType::LineTo: return m_b.add(U_EMRLINETO_set(pointl(pt(0))));
        case MetaRecordType::Polyline:
        case MetaRecordType::Polygon:
        case MetaRecordType::PolyBezier: return r.points.isEmpty() || points(r.type, r.points);
        case MetaRecordType::Arc: return m_b.add(U_EMRARC_set(boxRectl(r.box), pointl(pt(0)), pointl(pt(1))));
        case MetaRecordType::Ellipse: return m_b.add(U_EMRELLIPSE_set(boxRectl(r.box)));
        case MetaRecordType::Rectangle: return m_b.add(U_EMRRECTANGLE_set(boxRectl(r.box)));
        case MetaRecordType::StretchImage: return !r.image() || image(r.box, *r.image());
        case MetaRecordType::StretchMetafile: return true; // inlined before writing
        }
        return true;
    }

private:
    U_RECTL textBounds(const QPoint& at, int width, int height) const
    {
        // The cell turned by the escapement, as a box around its corners.
        const double a = m_font.escapement / 10.0 * M_PI / 180.0;
        const double c = std::cos(a), s = std::sin(a);
        // In doubles: a text at the far end of the int range has corners beyond it.
        double l = at.x(), r = l, t = at.y(), b = t;
        for (const auto& [x, y] : {std::pair{0.0, 0.0}, {double(width), 0.0}, {0.0, double(height)},
                                   {double(width), double(height)}}) {
            const double px = at.x() + std::round(x * c + y * s);
            const double py = at.y() + std::round(-x * s + y * c);
            l = std::min(l, px);
            r = std::max(r, px);
            t = std::min(t, py);
            b = std::max(b, py);
        }
        return rectl(fitInt32(l), fitInt32(t), fitInt32(r), fitInt32(b));
    }

    EmfBuilder& m_b;
    TextMetrics m_metrics;
    PenSpec m_pen;
    BrushSpec m_brush;
    FontSpec m_font;
    uint32_t m_penHandle = 0;
    uint32_t m_brushHandle = 0;
    uint32_t m_fontHandle = 0;
};

} // namespace

namespace {

bool buildEmf(const Metafile& flat, const QString& path, QString* error)
{
    EmfBuilder builder;
    qint64 size = 0;
    bool ok = builder.start(path);
    EmfRecordWriter writer(builder);
    ok = ok && writer.header(flat);
    for (const MetaRecord& r : flat.records()) {
        if (!ok)
            break;
        ok = writer.record(r);
    }
    if (!ok || !builder.finish(&size)) {
        if (error)
            *error = builder.error();
        return false;
    }
    return wholeFileWritten(path, size, error);
}

} // namespace

QByteArray emfBytes(const Metafile& metafile, QString* error)
{
    return metafileBytes(metafile, buildEmf, "picture.emf", error);
}

bool writeEmf(const Metafile& metafile, const QString& path, QString* error)
{
    QString reason;
    const QByteArray bytes = emfBytes(metafile, &reason);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return writeWholeFile(path, bytes, error);
}

bool writeMetafile(const Metafile& metafile, const QString& path, QString* error)
{
    return metafile.kind() == MetafileKind::Wmf ? writeWmf(metafile, path, error) : writeEmf(metafile, path, error);
}

} // namespace korvimo
