#include "document/textfile.h"

#include "core/inputfile.h"
#include "core/safefile.h"

#include <QFile>
#include <QStringDecoder>

namespace korvimo::textfile {

namespace {

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

QStringList splitLines(QStringView text, qsizetype* firstCutLine)
{
    QStringList lines;
    qsizetype cut = 0;
    const auto take = [&](qsizetype from, qsizetype length) {
        if (length > kMaxLineChars) {
            length = kMaxLineChars;
            if (cut == 0)
                cut = lines.size() + 1;
        }
        lines.append(text.sliced(from, length).toString());
    };
    qsizetype start = 0;
    const qsizetype n = text.size();
    const QChar* d = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        take(start, i - start);
        if (c == u'\r' && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        take(start, n - start);
    if (firstCutLine)
        *firstCutLine = cut;
    return lines;
}

QStringList decodeLines(const QByteArray& bytes, TextEncoding* encoding, qsizetype* firstCutLine)
{
    return splitLines(decode(bytes, encoding), firstCutLine);
}

static QString problemText(const InputCheck& check)
{
    switch (check.problem) {
    case InputProblem::None: return {};
    case InputProblem::NotRegular: return QStringLiteral("Not a regular file");
    case InputProblem::TooLarge:
        return QStringLiteral("Larger than %1 MB").arg(kMaxInputFileBytes / (1024 * 1024));
    case InputProblem::CannotOpen:
    case InputProblem::ReadFailed: return check.reason;
    }
    return check.reason;
}

bool readLines(const QString& path, QStringList* lines, QString* error, TextEncoding* encoding)
{
    lines->clear();
    QByteArray bytes;
    const InputCheck check = readInputFile(path, &bytes);
    if (!check.ok()) {
        if (error)
            *error = problemText(check);
        return false;
    }
    *lines = decodeLines(bytes, encoding);
    return true;
}

bool isReadable(const QString& path)
{
    return checkInputFile(path).ok();
}

qsizetype firstOverlongLine(const QString& path)
{
    QByteArray bytes;
    if (!readInputFile(path, &bytes).ok())
        return 0;
    // Only a file with that many bytes can hold such a line.
    if (bytes.size() <= kMaxLineChars)
        return 0;
    qsizetype cut = 0;
    decodeLines(bytes, nullptr, &cut);
    return cut;
}

QString firstLine(const QString& path)
{
    if (!isReadable(path))
        return {};
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
