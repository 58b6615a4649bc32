#include "canvas/metafile.h"

#include <QCryptographicHash>

#include <atomic>
#include <cstring>

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

QString pointsText(const MetaPoints& points)
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

std::atomic<std::uint64_t> g_generations{0};

const MetaRecordDetail& noDetail()
{
    static const MetaRecordDetail none;
    return none;
}

} // namespace

// ---- MetaPoints -------------------------------------------------------------

MetaPoints::MetaPoints(std::initializer_list<QPoint> points)
{
    reserve(qsizetype(points.size()));
    for (const QPoint& p : points)
        append(p);
}

MetaPoints::MetaPoints(const QList<QPoint>& points)
{
    reserve(points.size());
    for (const QPoint& p : points)
        append(p);
}

MetaPoints::MetaPoints(const MetaPoints& other)
{
    reserve(other.m_size);
    std::memcpy(static_cast<void*>(ptr()), other.ptr(), sizeof(QPoint) * other.m_size);
    m_size = other.m_size;
}

MetaPoints::MetaPoints(MetaPoints&& other) noexcept
    : m_size(other.m_size), m_capacity(other.m_capacity)
{
    std::memcpy(m_inline, other.m_inline, sizeof m_inline); // the inline points or the heap pointer
    other.m_size = 0;
    other.m_capacity = kInline;
}

MetaPoints& MetaPoints::operator=(const MetaPoints& other)
{
    if (this != &other) {
        MetaPoints copy(other);
        *this = std::move(copy);
    }
    return *this;
}

MetaPoints& MetaPoints::operator=(MetaPoints&& other) noexcept
{
    if (this != &other) {
        if (onHeap())
            delete[] m_heap;
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        std::memcpy(m_inline, other.m_inline, sizeof m_inline);
        other.m_size = 0;
        other.m_capacity = kInline;
    }
    return *this;
}

MetaPoints::~MetaPoints()
{
    if (onHeap())
        delete[] m_heap;
}

void MetaPoints::reserve(qsizetype n)
{
    if (n <= qsizetype(m_capacity))
        return;
    const auto capacity = static_cast<std::uint32_t>(std::min<qsizetype>(n, UINT32_MAX));
    auto* grown = new QPoint[capacity];
    std::copy(begin(), end(), grown);
    if (onHeap())
        delete[] m_heap;
    m_heap = grown;
    m_capacity = capacity;
}

void MetaPoints::append(const QPoint& p)
{
    if (m_size == m_capacity)
        reserve(qsizetype(m_capacity) * 2);
    ptr()[m_size++] = p;
}

void MetaPoints::clear()
{
    if (onHeap())
        delete[] m_heap;
    m_size = 0;
    m_capacity = kInline;
    std::memset(m_inline, 0, sizeof m_inline);
}

bool MetaPoints::operator==(const MetaPoints& other) const
{
    return m_size == other.m_size && std::equal(begin(), end(), other.begin());
}

// ---- MetaRecord -------------------------------------------------------------

MetaRecordDetail& MetaRecord::detail()
{
    if (!m_detail)
        m_detail = std::make_shared<MetaRecordDetail>();
    else if (m_detail.use_count() > 1)
        m_detail = std::make_shared<MetaRecordDetail>(*m_detail);
    return *m_detail;
}

const FontSpec& MetaRecord::font() const { return m_detail ? m_detail->font : noDetail().font; }

const QString& MetaRecord::text() const { return m_detail ? m_detail->text : noDetail().text; }

const std::shared_ptr<const QImage>& MetaRecord::image() const
{
    return m_detail ? m_detail->image : noDetail().image;
}

const std::shared_ptr<const Metafile>& MetaRecord::picture() const
{
    return m_detail ? m_detail->picture : noDetail().picture;
}

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
    case MetaRecordType::Font: return font() == o.font();
    case MetaRecordType::TextOut: return points == o.points && text() == o.text();
    case MetaRecordType::MoveTo:
    case MetaRecordType::LineTo:
    case MetaRecordType::Polyline:
    case MetaRecordType::Polygon:
    case MetaRecordType::PolyBezier: return points == o.points;
    case MetaRecordType::Arc: return box == o.box && points == o.points;
    case MetaRecordType::Ellipse:
    case MetaRecordType::Rectangle: return box == o.box;
    case MetaRecordType::StretchImage: return box == o.box && sameImage(image(), o.image());
    case MetaRecordType::StretchMetafile: return box == o.box && samePicture(picture(), o.picture());
    }
    return false;
}

QString MetaRecord::dumpLine() const
{
    auto at = [this](int i) { return i < points.size() ? points[i] : QPoint(); };
    const FontSpec& font = this->font();
    const QString& text = this->text();
    const std::shared_ptr<const QImage>& image = this->image();
    const std::shared_ptr<const Metafile>& picture = this->picture();
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

void Metafile::append(MetaRecord record)
{
    if (m_records.size() >= m_budget) {
        m_budgetReached = true;
        return;
    }
    m_records.append(std::move(record));
    m_generation = ++g_generations;
}

void Metafile::clearRecords()
{
    m_records.clear();
    m_budgetReached = false;
    m_generation = ++g_generations;
}

void Metafile::clear()
{
    const qsizetype budget = m_budget;
    *this = Metafile();
    m_budget = budget;
    m_generation = ++g_generations;
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
