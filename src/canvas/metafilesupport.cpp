#include "canvas/metafilesupport.h"

#include "canvas/metafileio.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QImageReader>
#include <QPainter>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvimo::metafile_detail {

QByteArray metafileBytes(const Metafile& metafile, FileBuilder build, const char* fileName, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    if (metafile.width() <= 0 || metafile.height() <= 0)
        return fail(QStringLiteral("The drawing has no size."));
    const Metafile flat = inlinePictures(metafile);
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("Cannot make a temporary folder: %1").arg(dir.errorString()));
    const QString path = dir.filePath(QString::fromLatin1(fileName));
    if (!build(flat, path, error))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    return file.readAll();
}

bool wholeFileWritten(const QString& path, qint64 size, QString* error)
{
    if (QFileInfo(path).size() == size)
        return true;
    if (error)
        *error = QStringLiteral("Writing the metafile failed: the disk may be full.");
    return false;
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
