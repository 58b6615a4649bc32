#pragma once
// Encoders of the pixel pictures the program writes: BMP, baseline JPEG at
// quality 100 and truecolour PNG. They encode into memory; writeWholeFile
// (safefile.h) puts the bytes on disk.
//
// Every encoder reads the picture as 24-bit colour; the fourth byte of the
// working bitmaps is ignored. A null picture, or one the library refuses,
// gives an empty result and the reason in *error.
//
// Each encoder also takes its picture a row at a time (PictureRows) and
// hands its bytes on as they are made (ByteSink), so that a large picture is
// never whole in memory, neither as pixels nor as a file. The bytes are the
// same either way.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace korvimo {

// Resolution written into the files: the 96-DPI reference screen.
inline constexpr int kPixelsPerMetre = 3780;

// A picture handed over a row at a time, top to bottom.
class PictureRows {
public:
    virtual ~PictureRows() = default;
    virtual QSize size() const = 0;
    // Row y as 32-bit pixels (blue, green, red, unused), valid until the
    // next call; rows are asked for in order. Null when the row could not be
    // made: the encoder stops and reports failure().
    virtual const uchar* row(int y) = 0;
    virtual QString failure() const;
};

// The rows of an image in memory.
class ImageRows : public PictureRows {
public:
    explicit ImageRows(const QImage& image);
    QSize size() const override { return m_image.size(); }
    const uchar* row(int y) override { return m_image.constScanLine(y); }

private:
    QImage m_image;
};

// Where encoded bytes go. writeAt is for the BMP encoder, which writes its
// rows bottom-up; the other encoders only append.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(const char* data, qsizetype size) = 0;
    virtual bool writeAt(qint64 offset, const char* data, qsizetype size) = 0;
    // Why the last write failed.
    virtual QString failure() const = 0;
};

bool encodeBmp(PictureRows& rows, ByteSink& out, QString* error = nullptr);
bool encodeJpeg(PictureRows& rows, ByteSink& out, QString* error = nullptr);
bool encodePng(PictureRows& rows, const QByteArray& keyword, const QByteArray& text, ByteSink& out,
               QString* error = nullptr);

// Uncompressed 24-bit bottom-up BMP with a BITMAPINFOHEADER: the one variant
// every viewer reads (a 32-bit BMP's fourth byte is taken as transparency
// by some).
QByteArray encodeBmp(const QImage& image, QString* error = nullptr);

// Baseline JPEG, quality 100, 1×1 sampling on every component (no chroma
// subsampling: the diagrams are thin coloured lines), JFIF at 96 DPI.
QByteArray encodeJpeg(const QImage& image, QString* error = nullptr);

// 8-bit-per-channel truecolour PNG with one tEXt chunk holding keyword and
// text byte for byte (libpng would strip the blanks around a keyword; the
// chunk is written as given), and the 96-DPI pHYs chunk. An empty keyword
// writes no tEXt chunk.
QByteArray encodePng(const QImage& image, const QByteArray& keyword, const QByteArray& text,
                     QString* error = nullptr);

} // namespace korvimo
