#pragma once
// Encoders of the pixel pictures the program writes: BMP, baseline JPEG at
// quality 100 and truecolour PNG. They encode into memory; writeWholeFile
// (safefile.h) puts the bytes on disk.
//
// Every encoder reads the picture as 24-bit colour; the fourth byte of the
// working bitmaps is ignored. A null picture, or one the library refuses,
// gives an empty result and the reason in *error.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace korvimo {

// Resolution written into the files: the 96-DPI reference screen.
inline constexpr int kPixelsPerMetre = 3780;

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
