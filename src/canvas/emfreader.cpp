// Enhanced metafile input. The bytes are parsed here with bounds checks on
// every field; uemf.h only supplies the record numbers.
#include <uemf.h>

#include <QFile>

#include <cmath>

#include "canvas/gdireplay.h"
#include "canvas/metafileio.h"
#include "core/inputfile.h"
#include "canvas/metafilesupport.h"

namespace korvimo {

using namespace metafile_detail;

namespace {

constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
// Point lists beyond this are a broken file.
constexpr uint32_t kMaxPoints = 1u << 22;

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

class EmfParser {
public:
    EmfParser(const QByteArray& bytes, Metafile& out)
        : m_bytes(bytes), m_all(bytes.constData(), static_cast<std::size_t>(bytes.size())), m_out(out), m_gdi(out)
    {
    }

    bool header(QString* error)
    {
        if (m_all.u32(0) != U_EMR_HEADER || m_all.u32(40) != kEmfSignature)
            return fail(error, QStringLiteral("This is not an enhanced metafile."));
        const uint32_t size = m_all.u32(4);
        if (size < 88 || !m_all.has(0, size))
            return fail(error, QStringLiteral("The metafile's header is damaged."));
        const int32_t fl = m_all.i32(24), ft = m_all.i32(28), fr = m_all.i32(32), fb = m_all.i32(36);
        const int32_t devX = m_all.i32(72), devY = m_all.i32(76), mmX = m_all.i32(80), mmY = m_all.i32(84);
        // 0.01 mm per device pixel; without sane values assume the 96-DPI reference.
        const double hundredthsX = devX > 0 && mmX > 0 ? mmX * 100.0 / devX : 2540.0 / 96.0;
        const double hundredthsY = devY > 0 && mmY > 0 ? mmY * 100.0 / devY : 2540.0 / 96.0;
        double left = fl, top = ft, width = double(fr) - fl, height = double(fb) - ft;
        if (width <= 0 || height <= 0) {
            // No frame: the bounds, in device pixels, give the size.
            const int32_t bl = m_all.i32(8), bt = m_all.i32(12), br = m_all.i32(16), bb = m_all.i32(20);
            left = bl * hundredthsX;
            top = bt * hundredthsY;
            width = (double(br) - bl + 1) * hundredthsX;
            height = (double(bb) - bt + 1) * hundredthsY;
        }
        const double w = std::round(width * 96.0 / 2540.0), h = std::round(height * 96.0 / 2540.0);
        if (!(w >= 1 && h >= 1 && w <= 1e7 && h <= 1e7))
            return fail(error, QStringLiteral("The metafile has no usable size."));
        m_out.setSize(static_cast<int>(w), static_cast<int>(h));
        // One division, so that our own 254 mm / 960 pixels maps exactly 1:1.
        const double sx = devX > 0 && mmX > 0 ? (mmX * 100.0 * 96.0) / (double(devX) * 2540.0) : 1.0;
        const double sy = devY > 0 && mmY > 0 ? (mmY * 100.0 * 96.0) / (double(devY) * 2540.0) : 1.0;
        m_gdi.setDeviceToReference(sx, sy, left * 96.0 / 2540.0, top * 96.0 / 2540.0,
                                   devX > 0 && mmX > 0 ? double(devX) / mmX : 0,
                                   devY > 0 && mmY > 0 ? double(devY) / mmY : 0);

        const uint32_t nDesc = m_all.u32(60), offDesc = m_all.u32(64);
        if (nDesc > 0 && offDesc >= 88 && nDesc < size && m_all.has(offDesc, std::size_t(nDesc) * 2) &&
            offDesc + std::size_t(nDesc) * 2 <= size) {
            QString desc;
            for (uint32_t i = 0; i < nDesc; ++i)
                desc.append(QChar(m_all.u16(offDesc + 2 * i)));
            const QStringList parts = desc.split(QChar(0));
            m_out.setComment(parts.value(0), parts.value(1));
        }
        m_pos = size;
        return true;
    }

    void records()
    {
        while (m_all.has(m_pos, 8)) {
            const uint32_t type = m_all.u32(m_pos);
            const uint32_t size = m_all.u32(m_pos + 4);
            if (size < 8 || !m_all.has(m_pos, size))
                return; // broken record: keep what came before
            ByteReader rec(m_all.data() + m_pos, size);
            if (type == U_EMR_EOF)
                return;
            record(type, rec);
            m_pos += size;
        }
    }

private:
    QPointF pointl(ByteReader& r, std::size_t off) { return QPointF(r.i32(off), r.i32(off + 4)); }

    void box(ByteReader& r, std::size_t off, double& l, double& t, double& rr, double& b)
    {
        l = r.i32(off);
        t = r.i32(off + 4);
        rr = r.i32(off + 8);
        b = r.i32(off + 12);
    }

    // Points after a 28-byte prefix (type, size, bounds, count), 32- or 16-bit.
    QList<QPointF> points(ByteReader& r, bool small)
    {
        const uint32_t count = r.u32(24);
        const std::size_t each = small ? 4 : 8;
        QList<QPointF> out;
        if (count > kMaxPoints || !r.has(28, count * each))
            return out;
        out.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const std::size_t o = 28 + i * each;
            out << (small ? QPointF(r.i16(o), r.i16(o + 2)) : QPointF(r.i32(o), r.i32(o + 4)));
        }
        return out;
    }

    void polyPoly(ByteReader& r, bool small, bool closed)
    {
        const uint32_t polys = r.u32(24), count = r.u32(28);
        const std::size_t each = small ? 4 : 8;
        if (polys > kMaxPoints || count > kMaxPoints || !r.has(32, std::size_t(polys) * 4 + count * each))
            return;
        std::size_t at = 32 + std::size_t(polys) * 4;
        uint32_t used = 0;
        for (uint32_t p = 0; p < polys; ++p) {
            const uint32_t n = r.u32(32 + 4 * p);
            if (n > count - used)
                return;
            QList<QPointF> pts;
            pts.reserve(n);
            for (uint32_t i = 0; i < n; ++i, at += each)
                pts << (small ? QPointF(r.i16(at), r.i16(at + 2)) : QPointF(r.i32(at), r.i32(at + 4)));
            used += n;
            closed ? m_gdi.polygon(pts) : m_gdi.polyline(pts);
        }
    }

    GdiReplay::Xform xform(ByteReader& r, std::size_t off)
    {
        GdiReplay::Xform x;
        x.m11 = r.f32(off);
        x.m12 = r.f32(off + 4);
        x.m21 = r.f32(off + 8);
        x.m22 = r.f32(off + 12);
        x.dx = r.f32(off + 16);
        x.dy = r.f32(off + 20);
        for (double v : {x.m11, x.m12, x.m21, x.m22, x.dx, x.dy})
            if (!std::isfinite(v) || std::abs(v) > 1e9)
                return GdiReplay::Xform();
        return x;
    }

    void text(ByteReader& r, bool wide)
    {
        // EMRTEXT starts at 36: reference point, count, string offset,
        // options, rectangle, advances offset.
        const QPointF at = pointl(r, 36);
        const uint32_t n = r.u32(44), offString = r.u32(48);
        const uint32_t offDx = (r.u32(52) & U_ETO_NO_RECT) ? r.u32(56) : r.u32(72); // no rectangle: moves up
        if (n == 0 || n > (1u << 20) || !r.has(offString, std::size_t(n) * (wide ? 2 : 1)))
            return;
        QString s;
        if (wide) {
            s.reserve(n);
            for (uint32_t i = 0; i < n; ++i)
                s.append(QChar(r.u16(offString + 2 * i)));
        } else {
            s = fromWindows1252(QByteArray(r.data() + offString, n));
        }
        std::optional<double> sum;
        if (offDx >= 60 && r.has(offDx, std::size_t(n) * 4)) {
            double total = 0;
            for (uint32_t i = 0; i < n; ++i)
                total += r.i32(offDx + 4 * i);
            sum = total;
        }
        m_gdi.text(at, s, sum);
    }

    QImage bitmap(ByteReader& r, std::size_t offBmiField)
    {
        const uint32_t offBmi = r.u32(offBmiField), cbBmi = r.u32(offBmiField + 4);
        const uint32_t offBits = r.u32(offBmiField + 8), cbBits = r.u32(offBmiField + 12);
        if (cbBmi == 0 || cbBits == 0 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits))
            return {};
        return dibToImage(r.data() + offBmi, cbBmi, r.data() + offBits, cbBits);
    }

    void record(uint32_t type, ByteReader& r)
    {
        double l, t, rr, b;
        switch (type) {
        case U_EMR_SETWINDOWEXTEX: m_gdi.setWindowExt(r.i32(8), r.i32(12)); break;
        case U_EMR_SETWINDOWORGEX: m_gdi.setWindowOrg(r.i32(8), r.i32(12)); break;
        case U_EMR_SETVIEWPORTEXTEX: m_gdi.setViewportExt(r.i32(8), r.i32(12)); break;
        case U_EMR_SETVIEWPORTORGEX: m_gdi.setViewportOrg(r.i32(8), r.i32(12)); break;
        case U_EMR_SETMAPMODE: m_gdi.setMapMode(static_cast<int>(r.u32(8))); break;
        case U_EMR_SETBKMODE: m_gdi.setBkMode(static_cast<int>(r.u32(8))); break;
        case U_EMR_SETBKCOLOR: m_gdi.setBkColor(colorFromBytes(r.u32(8))); break;
        case U_EMR_SETTEXTCOLOR: m_gdi.setTextColor(colorFromBytes(r.u32(8))); break;
        case U_EMR_SETTEXTALIGN: m_gdi.setTextAlign(static_cast<int>(r.u32(8))); break;
        case U_EMR_SETARCDIRECTION: m_gdi.setArcDirection(static_cast<int>(r.u32(8))); break;
        case U_EMR_SAVEDC: m_gdi.saveDc(); break;
        case U_EMR_RESTOREDC: m_gdi.restoreDc(r.i32(8)); break;
        case U_EMR_SETWORLDTRANSFORM: m_gdi.setWorldTransform(xform(r, 8)); break;
        case U_EMR_MODIFYWORLDTRANSFORM: m_gdi.modifyWorldTransform(xform(r, 8), static_cast<int>(r.u32(32))); break;
        case U_EMR_SELECTOBJECT: m_gdi.selectObject(r.u32(8)); break;
        case U_EMR_DELETEOBJECT: m_gdi.deleteObject(r.u32(8)); break;
        case U_EMR_CREATEPEN: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Pen;
            const uint32_t style = r.u32(12);
            o.pen = {colorFromBytes(r.u32(24)), std::max(0, r.i32(16)), (style & 0xF) == U_PS_NULL};
            m_gdi.createObject(r.u32(8), o);
            break;
        }
        case U_EMR_EXTCREATEPEN: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Pen;
            const uint32_t style = r.u32(28);
            const uint32_t width = r.u32(32);
            o.pen = {colorFromBytes(r.u32(40)), static_cast<int>(std::min<uint32_t>(width, 1u << 20)),
                     (style & 0xF) == U_PS_NULL || r.u32(36) == U_BS_NULL};
            if (!(style & U_PS_GEOMETRIC))
                o.pen.width = 0; // cosmetic: one pixel
            m_gdi.createObject(r.u32(8), o);
            break;
        }
        case U_EMR_CREATEBRUSHINDIRECT: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Brush;
            // Hatched brushes are drawn solid in their colour.
            o.brush = {colorFromBytes(r.u32(16)), r.u32(12) == U_BS_NULL};
            m_gdi.createObject(r.u32(8), o);
            break;
        }
        case U_EMR_CREATEDIBPATTERNBRUSHPT:
        case U_EMR_CREATEMONOBRUSH: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Brush;
            o.brush = {0x808080, false};
            m_gdi.createObject(r.u32(8), o);
            break;
        }
        case U_EMR_EXTCREATEFONTINDIRECTW: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Font;
            o.font.height = r.i32(12);
            o.font.escapement = r.i32(20);
            o.font.orientation = r.i32(24);
            o.font.bold = r.i32(28) >= 600;
            o.font.italic = r.u8(32) != 0;
            o.font.underline = r.u8(33) != 0;
            QString face;
            for (int i = 0; i < 32 && r.has(40 + 2 * i, 2); ++i) {
                const uint16_t c = r.u16(40 + 2 * i);
                if (c == 0)
                    break;
                face.append(QChar(c));
            }
            if (!face.isEmpty())
                o.font.name = face;
            m_gdi.createObject(r.u32(8), o);
            break;
        }
        case U_EMR_CREATEPALETTE:
        case U_EMR_CREATECOLORSPACE:
        case U_EMR_CREATECOLORSPACEW: m_gdi.createObject(r.u32(8), GdiReplay::Object()); break;
        case U_EMR_MOVETOEX: m_gdi.moveTo(r.i32(8), r.i32(12)); break;
        case U_EMR_LINETO: m_gdi.lineTo(r.i32(8), r.i32(12)); break;
        case U_EMR_POLYLINE: m_gdi.polyline(points(r, false)); break;
        case U_EMR_POLYLINE16: m_gdi.polyline(points(r, true)); break;
        case U_EMR_POLYGON: m_gdi.polygon(points(r, false)); break;
        case U_EMR_POLYGON16: m_gdi.polygon(points(r, true)); break;
        case U_EMR_POLYBEZIER: m_gdi.polyBezier(points(r, false)); break;
        case U_EMR_POLYBEZIER16: m_gdi.polyBezier(points(r, true)); break;
        case U_EMR_POLYLINETO: m_gdi.polylineTo(points(r, false)); break;
        case U_EMR_POLYLINETO16: m_gdi.polylineTo(points(r, true)); break;
        case U_EMR_POLYBEZIERTO: m_gdi.polyBezierTo(points(r, false)); break;
        case U_EMR_POLYBEZIERTO16: m_gdi.polyBezierTo(points(r, true)); break;
        case U_EMR_POLYPOLYLINE: polyPoly(r, false, false); break;
        case U_EMR_POLYPOLYLINE16: polyPoly(r, true, false); break;
        case U_EMR_POLYPOLYGON: polyPoly(r, false, true); break;
        case U_EMR_POLYPOLYGON16: polyPoly(r, true, true); break;
        case U_EMR_ARC:
        case U_EMR_ARCTO:
            box(r, 8, l, t, rr, b);
            m_gdi.arc(l, t, rr, b, pointl(r, 24), pointl(r, 32));
            break;
        case U_EMR_ELLIPSE: box(r, 8, l, t, rr, b); m_gdi.ellipse(l, t, rr, b); break;
        case U_EMR_RECTANGLE:
        case U_EMR_ROUNDRECT: box(r, 8, l, t, rr, b); m_gdi.rectangle(l, t, rr, b); break;
        case U_EMR_EXTTEXTOUTW: text(r, true); break;
        case U_EMR_EXTTEXTOUTA: text(r, false); break;
        case U_EMR_STRETCHDIBITS:
            m_gdi.image(r.i32(24), r.i32(28), r.i32(72), r.i32(76), bitmap(r, 48));
            break;
        case U_EMR_SETDIBITSTODEVICE:
            m_gdi.image(r.i32(24), r.i32(28), r.i32(40), r.i32(44), bitmap(r, 48));
            break;
        case U_EMR_BITBLT:
            m_gdi.image(r.i32(24), r.i32(28), r.i32(32), r.i32(36), bitmap(r, 84));
            break;
        case U_EMR_STRETCHBLT:
            m_gdi.image(r.i32(24), r.i32(28), r.i32(32), r.i32(36), bitmap(r, 84));
            break;
        case U_EMR_BEGINPATH: m_gdi.beginPath(); break;
        case U_EMR_ENDPATH: m_gdi.endPath(); break;
        case U_EMR_CLOSEFIGURE: m_gdi.closeFigure(); break;
        case U_EMR_ABORTPATH: m_gdi.abortPath(); break;
        case U_EMR_FILLPATH: m_gdi.fillPath(); break;
        case U_EMR_STROKEPATH: m_gdi.strokePath(); break;
        case U_EMR_STROKEANDFILLPATH: m_gdi.strokeAndFillPath(); break;
        default: break; // not drawn by us: skipped
        }
    }

    const QByteArray& m_bytes;
    ByteReader m_all;
    Metafile& m_out;
    GdiReplay m_gdi;
    std::size_t m_pos = 0;
};

} // namespace

std::optional<Metafile> readEmf(const QByteArray& bytes, QString* error)
{
    Metafile out;
    out.setKind(MetafileKind::Emf);
    {
        EmfParser parser(bytes, out);
        if (!parser.header(error))
            return std::nullopt;
        parser.records();
    }
    return out;
}

std::optional<Metafile> readMetafile(const QByteArray& bytes, QString* error)
{
    ByteReader r(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (r.u32(0) == U_EMR_HEADER && r.u32(40) == kEmfSignature)
        return readEmf(bytes, error);
    if (r.u32(0) == 0x9AC6CDD7u || ((r.u16(0) == 1 || r.u16(0) == 2) && r.u16(2) == 9))
        return readWmf(bytes, error);
    if (error)
        *error = QStringLiteral("This is not a Windows metafile or enhanced metafile.");
    return std::nullopt;
}

std::optional<Metafile> readMetafileFile(const QString& path, QString* error)
{
    // Pictures inside diagrams are small: a FIFO or device is never waited
    // for, and a file too large to be a picture is not read.
    QByteArray bytes;
    const InputCheck check = readInputFile(path, &bytes, kMaxPictureFileBytes);
    if (!check.ok()) {
        if (error)
            *error = check.problem == InputProblem::NotRegular ? QStringLiteral("Not a regular file.")
                     : check.problem == InputProblem::TooLarge ? QStringLiteral("The file is too large for a picture.")
                                                               : check.reason;
        return std::nullopt;
    }
    return readMetafile(bytes, error);
}

} // namespace korvimo
