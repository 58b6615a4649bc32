// Windows metafile input (placeable or plain), parsed with bounds checks on
// every field. WMF parameters are stored in reverse: y before x, bottom
// before top.
#include <cmath>

#include "canvas/gdireplay.h"
#include "canvas/metafileio.h"
#include "canvas/metafilesupport.h"

namespace korvimo {

using namespace metafile_detail;

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;

// Record functions, as the file stores them.
enum : uint16_t {
    kEof = 0x0000,
    kSaveDc = 0x001E,
    kCreatePalette = 0x00F7,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kRestoreDc = 0x0127,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kCreateRegion = 0x06FF,
    kArc = 0x0817,
    kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32,
    kDibStretchBlt = 0x0B41,
    kSetDibToDev = 0x0D33,
    kStretchDib = 0x0F43,
};

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

class WmfParser {
public:
    WmfParser(const QByteArray& bytes, Metafile& out)
        : m_all(bytes.constData(), static_cast<std::size_t>(bytes.size())), m_out(out), m_gdi(out)
    {
    }

    bool header(QString* error)
    {
        std::size_t meta = 0;
        double width = 0, height = 0, left = 0, top = 0, extX = 0, extY = 0;
        if (m_all.u32(0) == kPlaceableKey) {
            left = m_all.i16(6);
            top = m_all.i16(8);
            extX = double(m_all.i16(10)) - left;
            extY = double(m_all.i16(12)) - top;
            const uint16_t inch = m_all.u16(14);
            if (!m_all.ok() || inch == 0 || extX == 0 || extY == 0)
                return fail(error, QStringLiteral("The metafile's header is damaged."));
            width = std::round(std::abs(extX) * 96.0 / inch);
            height = std::round(std::abs(extY) * 96.0 / inch);
            meta = 22;
        }
        const uint16_t type = m_all.u16(meta), words = m_all.u16(meta + 2);
        if (!m_all.ok() || (type != 1 && type != 2) || words != 9)
            return fail(error, QStringLiteral("This is not a Windows metafile."));
        m_pos = meta + 18;
        if (meta == 0) {
            // No placeable header: the first window extent gives the size.
            if (!findWindow(left, top, extX, extY))
                return fail(error, QStringLiteral("The metafile does not say how large it is."));
            width = std::round(std::abs(extX));
            height = std::round(std::abs(extY));
        }
        if (!(width >= 1 && height >= 1))
            return fail(error, QStringLiteral("The metafile has no usable size."));
        m_out.setSize(static_cast<int>(width), static_cast<int>(height));
        m_gdi.setWindowIsPicture(width, height);
        m_gdi.setWindowOrg(left, top);
        m_gdi.setWindowExt(extX, extY);
        return true;
    }

    void records()
    {
        while (m_all.has(m_pos, 6)) {
            const uint32_t words = m_all.u32(m_pos);
            const uint16_t function = m_all.u16(m_pos + 4);
            if (words < 3 || words > m_all.size() / 2 || !m_all.has(m_pos, std::size_t(words) * 2))
                return; // broken record: keep what came before
            if (function == kEof)
                return;
            ByteReader rec(m_all.data() + m_pos, std::size_t(words) * 2);
            record(function, rec);
            m_pos += std::size_t(words) * 2;
        }
    }

private:
    bool findWindow(double& left, double& top, double& extX, double& extY)
    {
        bool found = false;
        for (std::size_t pos = m_pos; m_all.has(pos, 6);) {
            const uint32_t words = m_all.u32(pos);
            if (words < 3 || !m_all.has(pos, std::size_t(words) * 2))
                break;
            const uint16_t f = m_all.u16(pos + 4);
            if (f == kSetWindowOrg) {
                top = m_all.i16(pos + 6);
                left = m_all.i16(pos + 8);
            } else if (f == kSetWindowExt && !found) {
                extY = m_all.i16(pos + 6);
                extX = m_all.i16(pos + 8);
                found = extX != 0 && extY != 0;
            }
            pos += std::size_t(words) * 2;
        }
        return found;
    }

    QList<QPointF> pointList(ByteReader& r, std::size_t off, uint32_t count)
    {
        QList<QPointF> out;
        if (!r.has(off, std::size_t(count) * 4))
            return out;
        out.reserve(count);
        for (uint32_t i = 0; i < count; ++i)
            out << QPointF(r.i16(off + 4 * i), r.i16(off + 4 * i + 2));
        return out;
    }

    // A BITMAPINFO followed directly by the pixels.
    QImage dib(ByteReader& r, std::size_t off)
    {
        if (!r.has(off, 40))
            return {};
        const uint32_t headerSize = r.u32(off);
        if (headerSize < 12 || !r.has(off, headerSize))
            return {};
        std::size_t colours = 0;
        if (headerSize >= 40) {
            const uint16_t bits = r.u16(off + 14);
            const uint32_t compression = r.u32(off + 16);
            const uint32_t used = r.u32(off + 32);
            colours = used ? used : (bits <= 8 ? (std::size_t(1) << bits) : 0);
            if (colours > 256)
                return {};
            colours *= 4;
            if (headerSize == 40 && (compression == 3 || compression == 6))
                colours += compression == 3 ? 12 : 16; // colour masks
        }
        const std::size_t info = headerSize + colours;
        if (!r.has(off, info + 1))
            return {};
        return dibToImage(r.data() + off, info, r.data() + off + info, r.size() - off - info);
    }

    void text(ByteReader& r, QPointF at, std::size_t stringOff, uint16_t count, std::size_t dxOff)
    {
        if (count == 0 || !r.has(stringOff, count))
            return;
        const QString s = fromWindows1252(QByteArray(r.data() + stringOff, count));
        std::optional<double> sum;
        if (dxOff && r.has(dxOff, std::size_t(count) * 2)) {
            double total = 0;
            for (uint16_t i = 0; i < count; ++i)
                total += r.i16(dxOff + 2 * i);
            sum = total;
        }
        m_gdi.text(at, s, sum);
    }

    void record(uint16_t function, ByteReader& r)
    {
        switch (function) {
        case kSetBkColor: m_gdi.setBkColor(colorFromBytes(r.u32(6))); break;
        case kSetBkMode: m_gdi.setBkMode(r.u16(6)); break;
        case kSetMapMode: m_gdi.setMapMode(r.u16(6)); break;
        case kSetTextColor: m_gdi.setTextColor(colorFromBytes(r.u32(6))); break;
        case kSetTextAlign: m_gdi.setTextAlign(r.u16(6)); break;
        case kSetWindowOrg: m_gdi.setWindowOrg(r.i16(8), r.i16(6)); break;
        case kSetWindowExt: m_gdi.setWindowExt(r.i16(8), r.i16(6)); break;
        case kSetViewportOrg: m_gdi.setViewportOrg(r.i16(8), r.i16(6)); break;
        case kSetViewportExt: m_gdi.setViewportExt(r.i16(8), r.i16(6)); break;
        case kSaveDc: m_gdi.saveDc(); break;
        case kRestoreDc: m_gdi.restoreDc(r.i16(6)); break;
        case kSelectObject: m_gdi.selectObject(r.u16(6)); break;
        case kDeleteObject: m_gdi.deleteObject(r.u16(6)); break;
        case kCreatePenIndirect: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Pen;
            o.pen = {colorFromBytes(r.u32(12)), std::max<int>(0, r.i16(8)), (r.u16(6) & 0xF) == 5};
            m_gdi.createObjectInFreeSlot(o);
            break;
        }
        case kCreateBrushIndirect: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Brush;
            o.brush = {colorFromBytes(r.u32(8)), r.u16(6) == 1};
            m_gdi.createObjectInFreeSlot(o);
            break;
        }
        case kCreateFontIndirect: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Font;
            o.font.height = r.i16(6);
            o.font.escapement = r.i16(10);
            o.font.orientation = r.i16(12);
            o.font.bold = r.i16(14) >= 600;
            o.font.italic = r.u8(16) != 0;
            o.font.underline = r.u8(17) != 0;
            QByteArray face;
            for (std::size_t i = 24; i < 24 + 32 && r.has(i, 1) && r.u8(i) != 0; ++i)
                face.append(static_cast<char>(r.u8(i)));
            if (!face.isEmpty())
                o.font.name = fromWindows1252(face);
            m_gdi.createObjectInFreeSlot(o);
            break;
        }
        case kDibCreatePatternBrush:
        case kCreatePatternBrush: {
            GdiReplay::Object o;
            o.kind = GdiReplay::ObjectKind::Brush;
            o.brush = {0x808080, false};
            m_gdi.createObjectInFreeSlot(o);
            break;
        }
        case kCreatePalette:
        case kCreateRegion: m_gdi.createObjectInFreeSlot(GdiReplay::Object()); break;
        case kMoveTo: m_gdi.moveTo(r.i16(8), r.i16(6)); break;
        case kLineTo: m_gdi.lineTo(r.i16(8), r.i16(6)); break;
        case kPolygon: m_gdi.polygon(pointList(r, 8, r.u16(6))); break;
        case kPolyline: m_gdi.polyline(pointList(r, 8, r.u16(6))); break;
        case kPolyPolygon: {
            const uint16_t polys = r.u16(6);
            std::size_t at = 8 + std::size_t(polys) * 2;
            for (uint16_t p = 0; p < polys && r.ok(); ++p) {
                const uint16_t n = r.u16(8 + 2 * p);
                if (!r.has(at, std::size_t(n) * 4))
                    break;
                m_gdi.polygon(pointList(r, at, n));
                at += std::size_t(n) * 4;
            }
            break;
        }
        case kArc:
            m_gdi.arc(r.i16(20), r.i16(18), r.i16(16), r.i16(14), QPointF(r.i16(12), r.i16(10)),
                      QPointF(r.i16(8), r.i16(6)));
            break;
        case kEllipse: m_gdi.ellipse(r.i16(12), r.i16(10), r.i16(8), r.i16(6)); break;
        case kRectangle: m_gdi.rectangle(r.i16(12), r.i16(10), r.i16(8), r.i16(6)); break;
        case kRoundRect: m_gdi.rectangle(r.i16(16), r.i16(14), r.i16(12), r.i16(10)); break;
        case kTextOut: {
            const uint16_t count = r.u16(6);
            const std::size_t after = 8 + ((std::size_t(count) + 1) & ~std::size_t(1));
            text(r, QPointF(r.i16(after + 2), r.i16(after)), 8, count, 0);
            break;
        }
        case kExtTextOut: {
            const uint16_t count = r.u16(10), options = r.u16(12);
            const std::size_t stringOff = 14 + ((options & 0x0006) ? 8 : 0);
            const std::size_t dxOff = stringOff + ((std::size_t(count) + 1) & ~std::size_t(1));
            text(r, QPointF(r.i16(8), r.i16(6)), stringOff, count, dxOff);
            break;
        }
        case kStretchDib:
            m_gdi.image(r.i16(26), r.i16(24), r.i16(22), r.i16(20), dib(r, 28));
            break;
        case kDibStretchBlt:
            m_gdi.image(r.i16(24), r.i16(22), r.i16(20), r.i16(18), dib(r, 26));
            break;
        case kDibBitBlt:
            m_gdi.image(r.i16(20), r.i16(18), r.i16(16), r.i16(14), dib(r, 22));
            break;
        case kSetDibToDev:
            m_gdi.image(r.i16(22), r.i16(20), r.i16(18), r.i16(16), dib(r, 24));
            break;
        default: break; // not drawn by us: skipped
        }
    }

    ByteReader m_all;
    Metafile& m_out;
    GdiReplay m_gdi;
    std::size_t m_pos = 0;
};

} // namespace

std::optional<Metafile> readWmf(const QByteArray& bytes, QString* error)
{
    Metafile out;
    out.setKind(MetafileKind::Wmf);
    {
        WmfParser parser(bytes, out);
        if (!parser.header(error))
            return std::nullopt;
        parser.records();
    }
    return out;
}

} // namespace korvimo
