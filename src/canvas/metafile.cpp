#include "canvas/metafile.h"

#include <QCryptographicHash>

namespace korvimo {

namespace {

QString boxText(const MetaBox& b)
{
    return QStringLiteral("%1 %2 %3 %4").arg(b.left).arg(b.top).arg(b.right).arg(b.bottom);
}

QString pointText(const QPoint& p)
{
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

QString pointsText(const QList<QPoint>& points)
{
    QStringList parts;
    parts.reserve(points.size());
    for (const QPoint& p : points)
        parts << pointText(p);
    return parts.join(QLatin1Char(' '));
}

QString shortHash(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().left(12));
}

// Pixels only, in one fixed format, so that the same picture loaded from a
// different file type hashes the same.
QByteArray imageBytes(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    bytes.reserve(argb.height() * argb.width() * 4);
    for (int y = 0; y < argb.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4);
    return bytes;
}

const char* kindName(MetafileKind kind)
{
    return kind == MetafileKind::Wmf ? "WMF" : "EMF";
}

bool sameImage(const std::shared_ptr<const QImage>& a, const std::shared_ptr<const QImage>& b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    return a->size() == b->size() && imageBytes(*a) == imageBytes(*b);
}

bool samePicture(const std::shared_ptr<const Metafile>& a, const std::shared_ptr<const Metafile>& b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    return *a == *b;
}

} // namespace

QString quoteDumpText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

bool MetaRecord::operator==(const MetaRecord& o) const
{
    if (type != o.type)
        return false;
    switch (type) {
    case MetaRecordType::Pen: return pen == o.pen;
    case MetaRecordType::Brush: return brush == o.brush;
    case MetaRecordType::Font: return font == o.font;
    case MetaRecordType::TextOut: return points == o.points && text == o.text;
    case MetaRecordType::MoveTo:
    case MetaRecordType::LineTo:
    case MetaRecordType::Polyline:
    case MetaRecordType::Polygon:
    case MetaRecordType::PolyBezier: return points == o.points;
    case MetaRecordType::Arc: return box == o.box && points == o.points;
    case MetaRecordType::Ellipse:
    case MetaRecordType::Rectangle: return box == o.box;
    case MetaRecordType::StretchImage: return box == o.box && sameImage(image, o.image);
    case MetaRecordType::StretchMetafile: return box == o.box && samePicture(picture, o.picture);
    }
    return false;
}

QString MetaRecord::dumpLine() const
{
    auto at = [this](int i) { return i < points.size() ? points[i] : QPoint(); };
    switch (type) {
    case MetaRecordType::Pen:
        return QStringLiteral("Pen color=%1 width=%2%3")
            .arg(pen.color)
            .arg(pen.width)
            .arg(pen.clear ? QStringLiteral(" clear") : QString());
    case MetaRecordType::Brush:
        return QStringLiteral("Brush color=%1 %2")
            .arg(brush.color)
            .arg(brush.clear ? QStringLiteral("clear") : QStringLiteral("solid"));
    case MetaRecordType::Font:
        return QStringLiteral("Font %1 height=%2 bold=%3 italic=%4 underline=%5 escapement=%6 "
                              "orientation=%7 color=%8")
            .arg(quoteDumpText(font.name))
            .arg(font.height)
            .arg(int(font.bold))
            .arg(int(font.italic))
            .arg(int(font.underline))
            .arg(font.escapement)
            .arg(font.orientation)
            .arg(font.color);
    case MetaRecordType::TextOut:
        return QStringLiteral("TextOut %1 %2").arg(pointText(at(0)), quoteDumpText(text));
    case MetaRecordType::MoveTo: return QStringLiteral("MoveTo ") + pointText(at(0));
    case MetaRecordType::LineTo: return QStringLiteral("LineTo ") + pointText(at(0));
    case MetaRecordType::Polyline: return QStringLiteral("Polyline ") + pointsText(points);
    case MetaRecordType::Polygon: return QStringLiteral("Polygon ") + pointsText(points);
    case MetaRecordType::PolyBezier: return QStringLiteral("PolyBezier ") + pointsText(points);
    case MetaRecordType::Arc:
        return QStringLiteral("Arc %1 start=%2 end=%3").arg(boxText(box), pointText(at(0)), pointText(at(1)));
    case MetaRecordType::Ellipse: return QStringLiteral("Ellipse ") + boxText(box);
    case MetaRecordType::Rectangle: return QStringLiteral("Rectangle ") + boxText(box);
    case MetaRecordType::StretchImage:
        if (!image)
            return QStringLiteral("StretchImage %1 none").arg(boxText(box));
        return QStringLiteral("StretchImage %1 image=%2x%3 hash=%4")
            .arg(boxText(box))
            .arg(image->width())
            .arg(image->height())
            .arg(shortHash(imageBytes(*image)));
    case MetaRecordType::StretchMetafile:
        if (!picture)
            return QStringLiteral("StretchMetafile %1 none").arg(boxText(box));
        return QStringLiteral("StretchMetafile %1 %2 %3x%4 records=%5 hash=%6")
            .arg(boxText(box))
            .arg(QLatin1String(kindName(picture->kind())))
            .arg(picture->width())
            .arg(picture->height())
            .arg(picture->records().size())
            .arg(shortHash(picture->dump().toUtf8()));
    }
    return QStringLiteral("?");
}

Metafile::Metafile(int width, int height, MetafileKind kind) : m_width(width), m_height(height), m_kind(kind) {}

void Metafile::setSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

void Metafile::setComment(const QString& creator, const QString& description)
{
    m_creator = creator;
    m_description = description;
}

void Metafile::clear()
{
    *this = Metafile();
}

QStringList Metafile::dumpLines() const
{
    QStringList lines;
    lines.reserve(m_records.size() + 2);
    lines << QStringLiteral("Metafile %1 %2x%3").arg(QLatin1String(kindName(m_kind))).arg(m_width).arg(m_height);
    lines << QStringLiteral("Comment %1 %2").arg(quoteDumpText(m_creator), quoteDumpText(m_description));
    for (const MetaRecord& r : m_records)
        lines << r.dumpLine();
    return lines;
}

QString Metafile::dump() const
{
    return dumpLines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool Metafile::operator==(const Metafile& o) const
{
    return m_width == o.m_width && m_height == o.m_height && m_kind == o.m_kind && m_creator == o.m_creator &&
           m_description == o.m_description && m_records == o.m_records;
}

QString firstDumpDifference(const QStringList& expected, const QStringList& actual)
{
    const qsizetype n = std::max(expected.size(), actual.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QString e = i < expected.size() ? expected[i] : QStringLiteral("<end>");
        const QString a = i < actual.size() ? actual[i] : QStringLiteral("<end>");
        if (e == a)
            continue;
        QString out = QStringLiteral("first difference at line %1\n").arg(i + 1);
        for (qsizetype k = std::max<qsizetype>(0, i - 2); k < i; ++k)
            out += QStringLiteral("    %1\n").arg(expected[k]);
        out += QStringLiteral("  - %1\n  + %2\n").arg(e, a);
        for (qsizetype k = i + 1; k < std::min(n, i + 3); ++k) {
            out += QStringLiteral("  - %1\n").arg(k < expected.size() ? expected[k] : QStringLiteral("<end>"));
            out += QStringLiteral("  + %1\n").arg(k < actual.size() ? actual[k] : QStringLiteral("<end>"));
        }
        return out;
    }
    return {};
}

} // namespace korvimo
