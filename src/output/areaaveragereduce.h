#pragma once
// The smoothing reduction of supersampled pictures: every target pixel is the
// weighted mean of the source pixels its area covers.
//
// Contract:
// - The source is read as 32-bit pixels, bytes blue, green, red, unused
//   (QImage::Format_RGB32, ARGB32 or ARGB32_Premultiplied on a little-endian
//   machine); any other format is converted first.
// - The target becomes a targetWidth × targetHeight QImage::Format_RGB32 whose
//   fourth byte is 0 in every pixel, like the program's working bitmaps. Qt
//   treats RGB32 as opaque, so it draws and encodes as expected.
// - Ratios may be anything, enlarging included. A target size below 1, or an
//   empty source, gives a null target and false.
// - The result equals, byte for byte, the plain per-pixel evaluation of the
//   weights in extended precision (areaAverageReducePixel): the fast path
//   works in exact integers and doubles, and any channel whose sum comes
//   close enough to a rounding tie for the two to possibly disagree is
//   evaluated again the plain way.
#include <QImage>

#include <cstdint>
#include <memory>

namespace korvimo {

bool AreaAverageReduce(const QImage& source, QImage& target, int targetWidth, int targetHeight);

// Fastest: whole ratios small enough to be decided exactly (the fourfold
// supersample among them) are summed in integers. General: every ratio the
// same way, in floats with the tie guard. Both give the same bytes; General
// is there to show it.
enum class ReducerPath { Fastest, General };

// The same reduction fed with horizontal bands of the source, top to bottom,
// so that a large supersampled picture never has to exist whole. The bytes
// are those of AreaAverageReduce on the whole source.
class AreaAverageReducer {
public:
    AreaAverageReducer(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight,
                       ReducerPath path = ReducerPath::Fastest);
    ~AreaAverageReducer();
    AreaAverageReducer(const AreaAverageReducer&) = delete;
    AreaAverageReducer& operator=(const AreaAverageReducer&) = delete;

    bool isValid() const; // every size at least 1

    // The source rows target row m reads: firstSourceRow(m) to lastSourceRow(m).
    int firstSourceRow(int m) const;
    int lastSourceRow(int m) const;

    // Target rows m0 to m1 - 1 into target (targetWidth × targetHeight,
    // Format_RGB32). band holds the source rows from bandTop on, in 32-bit
    // blue-green-red-unused pixels of the full source width; it must hold
    // firstSourceRow(m0) to lastSourceRow(m1 - 1).
    void reduceRows(const QImage& band, int bandTop, int m0, int m1, QImage& target);
    // The same into raw rows: target row m starts at
    // targetBits + (m - targetTop) · targetStride. Touches no QImage of the
    // target, so several reducers (one a thread) may fill different rows of
    // one picture, or of one strip of it, at once.
    void reduceRows(const QImage& band, int bandTop, int m0, int m1, std::uint8_t* targetBits,
                    qsizetype targetStride, int targetTop = 0);

private:
    void wholeRatioRows(const std::uint8_t* bits, qsizetype stride, int bandTop, int m0, int m1,
                        std::uint8_t* targetBits, qsizetype targetStride, int targetTop);

    struct State;
    std::unique_ptr<State> d;
};

// The plain evaluation of one target pixel (m = row, n = column) of a
// reduction of the 32-bit pixel rows at bits (stride bytes apart) to
// targetWidth × targetHeight: writes blue, green, red into bgr.
void areaAverageReducePixel(const std::uint8_t* bits, int sourceWidth, int sourceHeight,
                            qsizetype stride, int targetWidth, int targetHeight, int m, int n,
                            std::uint8_t bgr[3]);

} // namespace korvimo
