#include "canvas/metafilesupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvimo::metafile_detail {

SafeTarget::SafeTarget(const QString& target) : m_target(target)
{
    const QFileInfo info(target);
    if (info.fileName().isEmpty()) {
        m_error = QStringLiteral("No file name given.");
        return;
    }
    if (info.isDir()) {
        m_error = QStringLiteral("%1 is a folder.").arg(target);
        return;
    }
    m_temp = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                              QStringLiteral(".XXXXXX"));
    if (!m_temp->open()) {
        m_error = QStringLiteral("Cannot write in %1: %2")
                      .arg(QDir::toNativeSeparators(info.absolutePath()), m_temp->errorString());
        m_temp.reset();
        return;
    }
    m_tempPath = m_temp->fileName();
    m_temp->close();
}

bool SafeTarget::commit(qint64 expectedSize)
{
    if (m_tempPath.isEmpty())
        return false;
    const QFileInfo written(m_tempPath);
    if (!written.exists() || written.size() != expectedSize) {
        m_error = QStringLiteral("Writing %1 failed (disk full?).").arg(QDir::toNativeSeparators(m_target));
        return false;
    }
    // Same permissions as the file it replaces, or an ordinary new file's.
    const QFileInfo old(m_target);
    QFile::setPermissions(m_tempPath, old.exists() ? old.permissions()
                                                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                         QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // rename() replaces the target in one step: readers see the old file or
    // the new one, never a mixture.
    if (std::rename(QFile::encodeName(m_tempPath).constData(), QFile::encodeName(m_target).constData()) != 0) {
        m_error = QStringLiteral("Cannot write %1: %2")
                      .arg(QDir::toNativeSeparators(m_target), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_temp->setAutoRemove(false);
    return true;
}

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unused positions.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

QByteArray toWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] != 0 && kCp1252High[i] == u)
                mapped = static_cast<char>(0x80 + i);
        out.append(mapped);
    }
    return out;
}

QString fromWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F)
            out.append(kCp1252High[b - 0x80] ? QChar(kCp1252High[b - 0x80]) : QChar(0xFFFD));
        else
            out.append(QChar(b));
    }
    return out;
}

Dib imageToDib(const QImage& image)
{
    Dib dib;
    if (image.isNull())
        return dib;
    // GDI bitmaps have no alpha: flatten onto white as a viewer would.
    QImage rgb(image.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, image);
    }
    dib.width = rgb.width();
    dib.height = rgb.height();
    const int stride = (dib.width * 3 + 3) & ~3;
    dib.pixels = QByteArray(stride * dib.height, '\0');
    for (int y = 0; y < dib.height; ++y) {
        const uchar* src = rgb.constScanLine(y);
        char* dst = dib.pixels.data() + (dib.height - 1 - y) * stride; // bottom-up
        for (int x = 0; x < dib.width; ++x) {
            dst[3 * x + 0] = static_cast<char>(src[3 * x + 2]);
            dst[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
            dst[3 * x + 2] = static_cast<char>(src[3 * x + 0]);
        }
    }
    auto put32 = [](QByteArray& b, int off, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    dib.header = QByteArray(40, '\0');
    put32(dib.header, 0, 40);
    put32(dib.header, 4, static_cast<uint32_t>(dib.width));
    put32(dib.header, 8, static_cast<uint32_t>(dib.height));
    dib.header[12] = 1; // planes
    dib.header[14] = 24; // bits per pixel
    put32(dib.header, 20, static_cast<uint32_t>(dib.pixels.size()));
    put32(dib.header, 24, 3780); // 96 DPI in pixels per metre
    put32(dib.header, 28, 3780);
    return dib;
}

QImage dibToImage(const char* info, std::size_t infoSize, const char* pixels, std::size_t pixelSize)
{
    if (!info || infoSize < 12 || !pixels || pixelSize == 0 || infoSize > (1u << 20) || pixelSize > (1u << 30))
        return {};
    ByteReader r(info, infoSize);
    const uint32_t headerSize = r.u32(0);
    if (headerSize < 12 || headerSize > infoSize)
        return {};
    if (headerSize >= 40) {
        const int64_t w = r.i32(4);
        const int64_t h = r.i32(8);
        if (w <= 0 || h == 0 || w > 30000 || std::abs(h) > 30000 || w * std::abs(h) > 100'000'000)
            return {};
    }
    // Prefix a file header and let the BMP reader do the rest.
    QByteArray file;
    const uint32_t offset = 14 + static_cast<uint32_t>(infoSize);
    const uint32_t total = offset + static_cast<uint32_t>(pixelSize);
    file.reserve(static_cast<qsizetype>(total));
    file.append("BM", 2);
    for (uint32_t v : {total, 0u, offset}) // file size, two reserved words, offset of the pixels
        for (int i = 0; i < 4; ++i)
            file.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    file.append(info, static_cast<qsizetype>(infoSize));
    file.append(pixels, static_cast<qsizetype>(pixelSize));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    return image;
}

} // namespace korvimo::metafile_detail
