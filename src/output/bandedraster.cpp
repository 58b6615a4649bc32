#include "output/bandedraster.h"

#include <QPainter>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "output/areaaveragereduce.h"

namespace korvimo {

namespace {

// Below this a second thread costs more than it saves.
constexpr qint64 kThreadedPixels = qint64(1) << 21;

constexpr int kMaxLanes = 4;

struct Band {
    int m0 = 0; // picture rows m0 … m1 - 1
    int m1 = 0;
    int top = 0; // first work row of the band
};

// The bands of a drawing, planned the way the reduction reads its rows, and
// the drawing of any run of them over several threads.
class BandPlan {
public:
    BandPlan(QSize workSize, QSize pictureSize, BandReduction reduction, qint64 bandPixels)
        : ww(workSize.width()), wh(workSize.height()), tw(pictureSize.width()), th(pictureSize.height())
    {
        if (ww < 1 || wh < 1 || tw < 1 || th < 1)
            return;
        valid = true;
        copy = ww == tw && wh == th;
        smooth = !copy && reduction == BandReduction::QtSmooth && ww % tw == 0 && wh % th == 0
                 && ww / tw == wh / th;
        // Source rows a picture row needs, at most.
        f = std::max(1, static_cast<int>(std::ceil(static_cast<double>(wh) / th)));
        bandTargetRows = static_cast<int>(std::max<qint64>(1, bandPixels / (qint64(ww) * f)));
        bandRows = (smooth || copy) ? std::min(wh, bandTargetRows * f)
                                    : static_cast<int>(std::min<qint64>(wh, qint64(bandTargetRows + 1) * f + 2));
        AreaAverageReducer planner(ww, wh, tw, th);
        int m0 = 0;
        while (m0 < th) {
            int m1 = std::min(th, m0 + bandTargetRows);
            int top = m0 * f;
            if (!smooth && !copy) {
                top = planner.firstSourceRow(m0);
                // Fewer picture rows when the ratio makes them need more source rows.
                while (m1 > m0 + 1 && planner.lastSourceRow(m1 - 1) - top >= bandRows)
                    --m1;
            }
            bands.push_back({m0, m1, top});
            m0 = m1;
        }
    }

    // Bands first … last - 1 into picture rows: picture row m starts at
    // out + (m - outTop) · outStride. False when memory ran out; an exception
    // of `paint` is rethrown after every thread stopped.
    bool draw(size_t first, size_t last, const QColor& background, int lanes, const BandPainter& paint,
              std::uint8_t* out, qsizetype outStride, int outTop) const
    {
        if (first >= last)
            return true;
        lanes = std::clamp(lanes, 1, static_cast<int>(std::min<size_t>(last - first, kMaxLanes)));
        std::atomic<size_t> next{first};
        std::atomic<bool> failed{false};
        std::exception_ptr error;
        std::mutex errorLock;

        auto work = [&](int lane) {
            try {
                QImage band(ww, bandRows, QImage::Format_RGB32);
                if (band.isNull()) {
                    failed = true;
                    return;
                }
                AreaAverageReducer reducer(ww, wh, tw, th);
                for (size_t i = next++; i < last && !failed; i = next++) {
                    const Band& b = bands[i];
                    band.fill(background);
                    {
                        QPainter painter(&band);
                        painter.translate(0, -b.top);
                        paint(painter, lane);
                    }
                    std::uint8_t* rows = out + qsizetype(b.m0 - outTop) * outStride;
                    if (copy) {
                        for (int r = 0; r < b.m1 - b.m0; ++r)
                            std::memcpy(rows + qsizetype(r) * outStride, band.constScanLine(r), size_t(tw) * 4);
                    } else if (smooth) {
                        const int n = b.m1 - b.m0;
                        const QImage part = band.copy(0, 0, ww, n * f)
                                                .scaled(tw, n, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                                .convertToFormat(QImage::Format_RGB32);
                        if (part.isNull()) {
                            failed = true;
                            return;
                        }
                        for (int r = 0; r < n; ++r)
                            std::memcpy(rows + qsizetype(r) * outStride, part.constScanLine(r), size_t(tw) * 4);
                    } else {
                        reducer.reduceRows(band, b.top, b.m0, b.m1, out, outStride, outTop);
                    }
                }
            } catch (...) {
                std::lock_guard<std::mutex> hold(errorLock);
                if (!error)
                    error = std::current_exception();
                failed = true;
            }
        };

        std::vector<std::thread> helpers;
        helpers.reserve(size_t(lanes - 1));
        for (int lane = 1; lane < lanes; ++lane) {
            try {
                helpers.emplace_back(work, lane);
            } catch (const std::system_error&) {
                break; // no more threads to be had: the started lanes share the bands
            }
        }
        work(0);
        for (std::thread& t : helpers)
            t.join();
        if (error)
            std::rethrow_exception(error);
        return !failed;
    }

    int ww = 0, wh = 0, tw = 0, th = 0;
    bool valid = false;
    bool copy = false;
    bool smooth = false;
    int f = 1;
    int bandTargetRows = 1;
    int bandRows = 1;
    std::vector<Band> bands;
};

} // namespace

int bandLanesFor(qint64 workPixels)
{
    if (workPixels < kThreadedPixels)
        return 1;
    return std::clamp(QThread::idealThreadCount(), 1, kMaxLanes);
}

QImage drawSupersampledInBands(QSize workSize, QSize pictureSize, const QColor& background,
                               BandReduction reduction, int lanes, const BandPainter& paint,
                               qint64 bandPixels)
{
    const BandPlan plan(workSize, pictureSize, reduction, bandPixels);
    if (!plan.valid)
        return {};
    QImage picture(plan.tw, plan.th, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    // Raw rows, taken before any thread starts: the threads write disjoint
    // rows and never call into the shared QImage.
    if (!plan.draw(0, plan.bands.size(), background, lanes, paint, picture.bits(), picture.bytesPerLine(), 0))
        return {};
    return picture;
}

struct BandedRows::State {
    State(QSize workSize, QSize pictureSize, const QColor& bg, int lanes, BandPainter paint, qint64 bandPixels)
        : plan(workSize, pictureSize, BandReduction::AreaAverage, bandPixels), background(bg), lanes(lanes),
          paint(std::move(paint))
    {
    }
    BandPlan plan;
    QColor background;
    int lanes;
    BandPainter paint;
    std::vector<std::uint8_t> strip; // picture rows stripTop … stripEnd - 1
    size_t nextBand = 0;
    int stripTop = 0;
    int stripEnd = 0;
    bool failed = false;
};

BandedRows::BandedRows(QSize workSize, QSize pictureSize, const QColor& background, int lanes,
                       BandPainter paint, qint64 bandPixels)
    : d(std::make_unique<State>(workSize, pictureSize, background, lanes, std::move(paint), bandPixels))
{
}

BandedRows::~BandedRows() = default;

QSize BandedRows::pictureSize() const { return d->plan.valid ? QSize(d->plan.tw, d->plan.th) : QSize(); }

const uchar* BandedRows::row(int y)
{
    State& s = *d;
    const BandPlan& plan = s.plan;
    if (!plan.valid || s.failed || y < s.stripTop || y >= plan.th)
        return nullptr;
    const qsizetype stride = qsizetype(plan.tw) * 4;
    while (y >= s.stripEnd) {
        if (s.nextBand >= plan.bands.size())
            return nullptr;
        // One band a lane at a time: the lanes stay busy, and the strip
        // holds no more rows than they make together.
        const size_t first = s.nextBand;
        const size_t last = std::min(plan.bands.size(), first + size_t(std::max(1, s.lanes)));
        const int top = plan.bands[first].m0;
        const int end = plan.bands[last - 1].m1;
        try {
            s.strip.resize(size_t(end - top) * size_t(stride));
        } catch (const std::bad_alloc&) {
            s.failed = true;
            return nullptr;
        }
        s.stripTop = top;
        s.stripEnd = end;
        s.nextBand = last;
        if (!plan.draw(first, last, s.background, s.lanes, s.paint, s.strip.data(), stride, top)) {
            s.failed = true;
            return nullptr;
        }
    }
    return s.strip.data() + qsizetype(y - s.stripTop) * stride;
}

} // namespace korvimo
