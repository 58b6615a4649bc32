#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <dlfcn.h>

#include "output/pixelencoders.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A picture with thin coloured lines on white and a few odd pixels: what a
// diagram looks like, and enough to see channels swapped or rows flipped.
QImage samplePicture(int w = 37, int h = 23)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int x = 0; x < w; ++x) {
        img.setPixel(x, 3, qRgb(255, 0, 0));
        img.setPixel(x, 4, qRgb(255, 0, 0));
    }
    for (int y = 0; y < h; ++y) {
        img.setPixel(10, y, qRgb(0, 0, 255));
        img.setPixel(11, y, qRgb(0, 0, 255));
    }
    img.setPixel(0, 0, qRgb(1, 2, 3));
    img.setPixel(w - 1, h - 1, qRgb(200, 100, 50));
    return img;
}

quint32 be32(const QByteArray& b, qsizetype at)
{
    return (quint32(uchar(b[at])) << 24) | (quint32(uchar(b[at + 1])) << 16)
           | (quint32(uchar(b[at + 2])) << 8) | quint32(uchar(b[at + 3]));
}
quint32 le32(const QByteArray& b, qsizetype at)
{
    return quint32(uchar(b[at])) | (quint32(uchar(b[at + 1])) << 8)
           | (quint32(uchar(b[at + 2])) << 16) | (quint32(uchar(b[at + 3])) << 24);
}
int be16(const QByteArray& b, qsizetype at) { return (uchar(b[at]) << 8) | uchar(b[at + 1]); }

// zlib's own CRC, taken from the shared library libpng itself loads.
using Crc32 = unsigned long (*)(unsigned long, const unsigned char*, unsigned int);
Crc32 zlibCrc32()
{
    static Crc32 fn = [] {
        void* z = dlopen("libz.so.1", RTLD_NOW);
        return z ? reinterpret_cast<Crc32>(dlsym(z, "crc32")) : nullptr;
    }();
    return fn;
}

struct PngChunk {
    QByteArray type;
    QByteArray data;
    bool crcOk = false;
};

QList<PngChunk> pngChunks(const QByteArray& png)
{
    QList<PngChunk> chunks;
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const quint32 length = be32(png, at);
        if (at + 12 + qsizetype(length) > png.size())
            break;
        PngChunk c;
        c.type = png.mid(at + 4, 4);
        c.data = png.mid(at + 8, length);
        const QByteArray typed = png.mid(at + 4, 4 + length);
        const unsigned long crc = zlibCrc32()(0, reinterpret_cast<const uchar*>(typed.constData()),
                                             static_cast<unsigned>(typed.size()));
        c.crcOk = crc == be32(png, at + 8 + length);
        chunks.append(c);
        at += 12 + length;
    }
    return chunks;
}

// A binary PPM (P6) as djpeg writes it.
QImage readPpm(const QByteArray& ppm)
{
    QList<QByteArray> fields;
    qsizetype at = 0;
    while (fields.size() < 4 && at < ppm.size()) {
        while (at < ppm.size() && QChar::isSpace(ppm[at]))
            ++at;
        const qsizetype start = at;
        while (at < ppm.size() && !QChar::isSpace(ppm[at]))
            ++at;
        fields.append(ppm.mid(start, at - start));
    }
    if (fields.size() < 4 || fields[0] != "P6")
        return {};
    ++at; // the one blank after the maximum value
    const int w = fields[1].toInt(), h = fields[2].toInt();
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, at += 3)
            img.setPixel(x, y, qRgb(uchar(ppm[at]), uchar(ppm[at + 1]), uchar(ppm[at + 2])));
    return img;
}

int maxChannelDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

} // namespace

TEST(Output_PixelEncoderTests, BmpIsTwentyFourBitBottomUpAndReadsBack)
{
    // The BMP has the classic header, padded bottom-up rows, and decodes to the same pixels.
    const QImage img = samplePicture(); // 37 wide: 111 bytes a row, padded to 112
    const QByteArray bmp = encodeBmp(img);
    ASSERT_EQ(bmp.size(), 54 + 112 * 23);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(le32(bmp, 2), quint32(bmp.size()));
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 37u);
    EXPECT_EQ(le32(bmp, 22), 23u);
    EXPECT_EQ(le32(bmp, 28) & 0xFFFF, 24u);
    EXPECT_EQ(le32(bmp, 30), 0u); // uncompressed
    EXPECT_EQ(le32(bmp, 38), 3780u);
    // The last picture row comes first in the file, blue first in each pixel.
    EXPECT_EQ(uchar(bmp[54 + 36 * 3]), 50);
    EXPECT_EQ(uchar(bmp[54 + 36 * 3 + 2]), 200);
    const QImage back = QImage::fromData(bmp, "BMP");
    ASSERT_EQ(back.size(), img.size());
    EXPECT_EQ(maxChannelDifference(back, img), 0);
    EXPECT_TRUE(encodeBmp(QImage()).isEmpty());
}

TEST(Output_PixelEncoderTests, JpegIsBaselineQualityHundredWithoutSubsampling)
{
    // djpeg decodes the file; its markers say baseline, all quantisation values 1, 1×1 sampling.
    const QImage img = samplePicture(64, 40);
    QString error;
    const QByteArray jpg = encodeJpeg(img, &error);
    ASSERT_FALSE(jpg.isEmpty()) << error.toStdString();
    ASSERT_EQ(be16(jpg, 0), 0xFFD8);

    int dqtTables = 0, sof0 = 0, otherSof = 0;
    qsizetype at = 2;
    bool sawJfif = false;
    while (at + 4 <= jpg.size()) {
        ASSERT_EQ(uchar(jpg[at]), 0xFF) << "marker expected at " << at;
        const int marker = uchar(jpg[at + 1]);
        const int length = be16(jpg, at + 2);
        const QByteArray seg = jpg.mid(at + 4, length - 2);
        if (marker == 0xE0 && seg.startsWith(QByteArray("JFIF\0", 5))) {
            sawJfif = true;
            EXPECT_EQ(int(uchar(seg[7])), 1); // dots per inch
            EXPECT_EQ(be16(seg, 8), 96);
        } else if (marker == 0xDB) {
            for (qsizetype t = 0; t < seg.size(); t += 65) {
                EXPECT_EQ(uchar(seg[t]) >> 4, 0) << "8-bit table";
                for (int k = 1; k <= 64; ++k)
                    ASSERT_EQ(uchar(seg[t + k]), 1) << "table " << (uchar(seg[t]) & 15) << " entry " << k;
                ++dqtTables;
            }
        } else if (marker == 0xC0) {
            ++sof0;
            EXPECT_EQ(int(uchar(seg[0])), 8);
            EXPECT_EQ(be16(seg, 1), 40);
            EXPECT_EQ(be16(seg, 3), 64);
            ASSERT_EQ(int(uchar(seg[5])), 3);
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(int(uchar(seg[6 + 3 * c + 1])), 0x11) << "component " << c;
        } else if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
                   && marker != 0xCC) {
            ++otherSof;
        }
        if (marker == 0xDA)
            break; // entropy-coded data follows
        at += 2 + length;
    }
    EXPECT_TRUE(sawJfif);
    EXPECT_EQ(sof0, 1);
    EXPECT_EQ(otherSof, 0);
    EXPECT_EQ(dqtTables, 2);
    EXPECT_EQ(be16(jpg, jpg.size() - 2), 0xFFD9);

    // The independent decoder gives the picture back nearly exactly: red stays red.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    ASSERT_TRUE(test::writeAll(path, jpg));
    QProcess djpeg;
    djpeg.start(QStringLiteral("djpeg"), {QStringLiteral("-ppm"), path});
    ASSERT_TRUE(djpeg.waitForFinished(30000));
    ASSERT_EQ(djpeg.exitCode(), 0) << djpeg.readAllStandardError().toStdString();
    const QImage decoded = readPpm(djpeg.readAllStandardOutput());
    ASSERT_EQ(decoded.size(), img.size());
    EXPECT_LE(maxChannelDifference(decoded, img), 8);
    EXPECT_EQ(qRed(decoded.pixel(5, 3)) > 240 && qGreen(decoded.pixel(5, 3)) < 16, true);
}

TEST(Output_PixelEncoderTests, PngIsTruecolourWithItsTextChunk)
{
    // Chunks have valid CRCs; IHDR says 8-bit RGB; one tEXt chunk carries keyword and text verbatim.
    const QImage img = samplePicture();
    const QByteArray keyword = " Korvimo 1.0 https://korvimo.org ";
    const QByteArray text = " Verkeersstromen ";
    QString error;
    const QByteArray png = encodePng(img, keyword, text, &error);
    ASSERT_FALSE(png.isEmpty()) << error.toStdString();
    ASSERT_EQ(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    ASSERT_NE(zlibCrc32(), nullptr);
    const QList<PngChunk> chunks = pngChunks(png);
    ASSERT_GE(chunks.size(), 4);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    int texts = 0;
    for (const PngChunk& c : chunks) {
        EXPECT_TRUE(c.crcOk) << c.type.toStdString();
        if (c.type == "IHDR") {
            EXPECT_EQ(be32(c.data, 0), 37u);
            EXPECT_EQ(be32(c.data, 4), 23u);
            EXPECT_EQ(int(uchar(c.data[8])), 8); // bits per channel
            EXPECT_EQ(int(uchar(c.data[9])), 2); // truecolour, no alpha
        } else if (c.type == "tEXt") {
            ++texts;
            EXPECT_EQ(c.data, keyword + '\0' + text);
        } else if (c.type == "pHYs") {
            EXPECT_EQ(be32(c.data, 0), 3780u);
        }
    }
    EXPECT_EQ(texts, 1);
    const QImage back = QImage::fromData(png, "PNG");
    ASSERT_EQ(back.size(), img.size());
    EXPECT_FALSE(back.hasAlphaChannel());
    EXPECT_EQ(maxChannelDifference(back, img), 0);

    // Without a keyword there is no tEXt chunk at all.
    for (const PngChunk& c : pngChunks(encodePng(img, {}, {})))
        EXPECT_NE(c.type, "tEXt");
}
