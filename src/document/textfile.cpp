#include "document/textfile.h"

#include "core/safefile.h"

#include <QFile>
#include <QStringDecoder>

namespace korvimo::textfile {

namespace {

// 0x80..0x9F of Windows-1252. The undefined bytes map to the C1 control of
// the same value, as the Windows conversion does, so nothing is lost.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// -1 when the character has no Windows-1252 byte.
int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}

bool startsWith(const QByteArray& b, std::initializer_list<unsigned char> bom)
{
    if (b.size() < qsizetype(bom.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char c : bom) {
        if (static_cast<unsigned char>(b[i++]) != c)
            return false;
    }
    return true;
}

QString decode(const QByteArray& bytes, TextEncoding* encoding)
{
    TextEncoding enc = TextEncoding::Windows1252;
    qsizetype skip = 0;
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        enc = TextEncoding::Utf8;
        skip = 3;
    } else if (startsWith(bytes, {0xFF, 0xFE})) {
        enc = TextEncoding::Utf16LE;
        skip = 2;
    } else if (startsWith(bytes, {0xFE, 0xFF})) {
        enc = TextEncoding::Utf16BE;
        skip = 2;
    }
    if (encoding)
        *encoding = enc;
    const QByteArrayView body = QByteArrayView(bytes).sliced(skip);
    switch (enc) {
    case TextEncoding::Windows1252:
        return fromWindows1252(body);
    case TextEncoding::Utf8:
        return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)(body);
    case TextEncoding::Utf16LE:
        return QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless)(body);
    case TextEncoding::Utf16BE:
        return QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless)(body);
    }
    return {};
}

} // namespace

QString fromWindows1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
    }
    return out;
}

QByteArray toWindows1252(QStringView text, bool* ok)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    bool all = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteFor(text[i].unicode());
        if (b < 0)
            all = false;
        out[i] = char(b < 0 ? '?' : b);
    }
    if (ok)
        *ok = all;
    return out;
}

bool fitsWindows1252(QStringView text)
{
    for (QChar c : text) {
        if (byteFor(c.unicode()) < 0)
            return false;
    }
    return true;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    const QChar* d = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start).toString());
    return lines;
}

QStringList decodeLines(const QByteArray& bytes, TextEncoding* encoding)
{
    return splitLines(decode(bytes, encoding));
}

bool readLines(const QString& path, QStringList* lines, QString* error, TextEncoding* encoding)
{
    lines->clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return false;
    }
    *lines = decodeLines(bytes, encoding);
    return true;
}

bool isReadable(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly);
}

QString firstLine(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // A first line longer than this is no version mark anyway; what matters
    // is that a huge file without line ends is not read whole.
    constexpr qint64 kLimit = 64 * 1024;
    const QStringList lines = decodeLines(f.read(kLimit));
    return lines.isEmpty() ? QString() : lines.first();
}

QByteArray encodeLines(const QStringList& lines, TextEncoding* used)
{
    bool ansi = true;
    for (const QString& l : lines) {
        if (!fitsWindows1252(l)) {
            ansi = false;
            break;
        }
    }
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 2;
    QByteArray out;
    if (ansi) {
        out.reserve(total);
        for (const QString& l : lines) {
            out += toWindows1252(l);
            out += "\r\n";
        }
    } else {
        out.reserve(total * 2 + 3);
        out += "\xEF\xBB\xBF";
        for (const QString& l : lines) {
            out += l.toUtf8();
            out += "\r\n";
        }
    }
    if (used)
        *used = ansi ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    return out;
}

bool writeLines(const QString& path, const QStringList& lines, QString* error, TextEncoding* used)
{
    return writeBytes(path, encodeLines(lines, used), error);
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    // One safe writer for every file the program writes: a temporary file
    // beside the target, flushed, then renamed over it.
    return writeWholeFile(path, bytes, error);
}

} // namespace korvimo::textfile
