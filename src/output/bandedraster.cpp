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
    const int ww = workSize.width();
    const int wh = workSize.height();
    const int tw = pictureSize.width();
    const int th = pictureSize.height();
    if (ww < 1 || wh < 1 || tw < 1 || th < 1)
        return {};
    const bool smooth = reduction == BandReduction::QtSmooth && ww % tw == 0 && wh % th == 0
                        && ww / tw == wh / th;
    // Source rows a picture row needs, at most.
    const int f = std::max(1, static_cast<int>(std::ceil(static_cast<double>(wh) / th)));
    const int bandTargetRows = static_cast<int>(std::max<qint64>(1, bandPixels / (qint64(ww) * f)));
    const int bandRows = smooth ? std::min(wh, bandTargetRows * f)
                                : static_cast<int>(std::min<qint64>(wh, qint64(bandTargetRows + 1) * f + 2));

    QImage picture(tw, th, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    // Raw rows, taken before any thread starts: the threads write disjoint
    // rows and never call into the shared QImage.
    std::uint8_t* const out = picture.bits();
    const qsizetype outStride = picture.bytesPerLine();

    // The bands, planned the way the reduction reads its rows.
    std::vector<Band> bands;
    {
        AreaAverageReducer planner(ww, wh, tw, th);
        int m0 = 0;
        while (m0 < th) {
            int m1 = std::min(th, m0 + bandTargetRows);
            int top = m0 * f;
            if (!smooth) {
                top = planner.firstSourceRow(m0);
                // Fewer picture rows when the ratio makes them need more source rows.
                while (m1 > m0 + 1 && planner.lastSourceRow(m1 - 1) - top >= bandRows)
                    --m1;
            }
            bands.push_back({m0, m1, top});
            m0 = m1;
        }
    }

    lanes = std::clamp(lanes, 1, static_cast<int>(std::min<size_t>(bands.size(), kMaxLanes)));
    std::atomic<size_t> next{0};
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
            for (size_t i = next++; i < bands.size() && !failed; i = next++) {
                const Band& b = bands[i];
                band.fill(background);
                {
                    QPainter painter(&band);
                    painter.translate(0, -b.top);
                    paint(painter, lane);
                }
                if (smooth) {
                    const int rows = b.m1 - b.m0;
                    const QImage part = band.copy(0, 0, ww, rows * f)
                                            .scaled(tw, rows, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                            .convertToFormat(QImage::Format_RGB32);
                    if (part.isNull()) {
                        failed = true;
                        return;
                    }
                    for (int r = 0; r < rows; ++r)
                        std::memcpy(out + qsizetype(b.m0 + r) * outStride, part.constScanLine(r),
                                    size_t(tw) * 4);
                } else {
                    reducer.reduceRows(band, b.top, b.m0, b.m1, out, outStride);
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
    if (failed)
        return {};
    return picture;
}

} // namespace korvimo
