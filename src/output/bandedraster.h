#pragma once
// Supersampled pictures drawn a band of rows at a time, several bands at once.
//
// Contract:
// - The work bitmap (workSize pixels) never exists whole. Each band of its
//   rows is filled with `background` and drawn by `paint` on a painter that
//   is translated so that the work bitmap's row `top` is the band's first row;
//   `paint` always draws the whole work bitmap and the band clips it.
// - Each band is reduced into its rows of the picture (pictureSize,
//   Format_RGB32). AreaAverage gives exactly the bytes of AreaAverageReduce on
//   the whole work bitmap. QtSmooth reduces with Qt's smooth scaling; it needs
//   the work size to be a whole multiple of the picture size and otherwise
//   reduces by AreaAverage.
// - Up to `lanes` bands are drawn at once, on as many threads, the calling
//   thread being one of them. paint(painter, lane) gets a lane in
//   0 … lanes - 1 and is never running twice at once with the same lane, so a
//   caller keeps one player (with its caches) a lane. With one lane nothing
//   leaves the calling thread.
// - A null image when a size is empty or memory runs out. An exception thrown
//   by `paint` reaches the caller after every thread has stopped.
#include <QColor>
#include <QImage>
#include <QSize>

#include <functional>
#include <memory>

class QPainter;

namespace korvimo {

enum class BandReduction { AreaAverage, QtSmooth };

using BandPainter = std::function<void(QPainter& painter, int lane)>;

// 4 MiB of bitmap a band.
inline constexpr qint64 kDefaultBandPixels = qint64(1) << 20;

// bandPixels: the most work pixels a band holds (at least one picture row's
// worth is always drawn). Every band replays the whole drawing, so fewer,
// larger bands cost less time and more memory.
QImage drawSupersampledInBands(QSize workSize, QSize pictureSize, const QColor& background,
                               BandReduction reduction, int lanes, const BandPainter& paint,
                               qint64 bandPixels = kDefaultBandPixels);

// The same drawing handed over a strip of picture rows at a time, top to
// bottom, so that neither the work bitmap nor the picture ever exists whole:
// memory stays near one strip of picture rows plus a band a lane. The bytes
// are those of drawSupersampledInBands with BandReduction::AreaAverage; a
// work size equal to the picture size copies the drawn rows unreduced.
class BandedRows {
public:
    BandedRows(QSize workSize, QSize pictureSize, const QColor& background, int lanes, BandPainter paint,
               qint64 bandPixels = kDefaultBandPixels);
    ~BandedRows();
    BandedRows(const BandedRows&) = delete;
    BandedRows& operator=(const BandedRows&) = delete;

    QSize pictureSize() const;
    // The 32-bit pixels (blue, green, red, 0) of picture row y, valid until
    // the next call. Rows are asked for top to bottom; each strip is drawn
    // when its first row is asked for. Null when a size is empty or memory
    // ran out. An exception thrown by `paint` passes through.
    const uchar* row(int y);

private:
    struct State;
    std::unique_ptr<State> d;
};

// The lanes worth using for a work bitmap of that many pixels on this
// machine: one for small pictures, where a thread costs more than it saves.
int bandLanesFor(qint64 workPixels);

} // namespace korvimo
