#include "output/areaaveragereduce.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvimo {

namespace {

// The factor that keeps the weights of a target pixel just below 1 in sum,
// so that a white area stays 255 after rounding.
constexpr long double kCover = 0.9999L;

// The source rows (or columns) one target row (or column) covers, with the
// weights of the first and the last of them; the ones between weigh 1.
struct Span {
    int first = 0;
    int last = 0;
    long double wFirst = 0; // the whole weight when first == last
    long double wLast = 0;
};

Span spanOf(int index, long double ratio, int sourceExtent)
{
    Span s;
    const long double p0 = index * ratio;
    const long double p1 = p0 + kCover * ratio;
    s.first = static_cast<int>(std::trunc(p0));
    s.last = static_cast<int>(std::trunc(p1));
    // p1 stays below the source extent; the clamps only guard the indexing.
    s.last = std::clamp(s.last, 0, sourceExtent - 1);
    s.first = std::clamp(s.first, 0, s.last);
    if (s.first == s.last) {
        s.wFirst = 1 - (p0 - s.first) - (s.last + 1 - p1);
    } else {
        s.wFirst = 1 - (p0 - s.first);
        s.wLast = 1 - (s.last + 1 - p1);
    }
    return s;
}

std::uint8_t toByte(long double v)
{
    const long double r = std::rint(v); // halves to even in the default rounding mode
    return static_cast<std::uint8_t>(std::clamp<long double>(r, 0, 255));
}

// What the fast path needs of a span, in doubles.
struct FastSpan {
    int first = 0;
    int last = 0; // == first when one source line is covered
    double wFirst = 0;
    double wLast = 0;
};

FastSpan fastSpanOf(int index, long double ratio, int sourceExtent)
{
    const Span s = spanOf(index, ratio, sourceExtent);
    return {s.first, s.last, static_cast<double>(s.wFirst), static_cast<double>(s.wLast)};
}

// Weighted sum of one row class (a source row of bytes, or the integer sum of
// the interior rows) over the columns of a span, per channel.
template <typename T>
inline void columnSum(const T* row, const FastSpan& c, double out[3])
{
    const T* p = row + 4 * c.first;
    if (c.first == c.last) {
        out[0] = c.wFirst * p[0];
        out[1] = c.wFirst * p[1];
        out[2] = c.wFirst * p[2];
        return;
    }
    std::uint64_t m0 = 0, m1 = 0, m2 = 0;
    for (int j = c.first + 1; j < c.last; ++j) {
        const T* q = row + 4 * j;
        m0 += q[0];
        m1 += q[1];
        m2 += q[2];
    }
    const T* l = row + 4 * c.last;
    out[0] = c.wFirst * p[0] + static_cast<double>(m0) + c.wLast * l[0];
    out[1] = c.wFirst * p[1] + static_cast<double>(m1) + c.wLast * l[1];
    out[2] = c.wFirst * p[2] + static_cast<double>(m2) + c.wLast * l[2];
}

// True when v + 0.5 lies within guard of an integer, i.e. v is so close to a
// rounding tie that the fast sum and the plain one might round apart.
inline bool nearTie(double v, double guard)
{
    const double r = v + 0.5;
    const double f = r - std::floor(r);
    return f < guard || f > 1.0 - guard;
}

} // namespace

void areaAverageReducePixel(const std::uint8_t* bits, int sourceWidth, int sourceHeight,
                            qsizetype stride, int targetWidth, int targetHeight, int m, int n,
                            std::uint8_t bgr[3])
{
    const long double ry = static_cast<long double>(sourceHeight) / targetHeight;
    const long double rx = static_cast<long double>(sourceWidth) / targetWidth;
    const long double area = rx * ry;
    const Span rows = spanOf(m, ry, sourceHeight);
    const Span cols = spanOf(n, rx, sourceWidth);
    long double sum[3] = {0, 0, 0};
    for (int i = rows.first; i <= rows.last; ++i) {
        const long double wr = i == rows.first ? rows.wFirst : i == rows.last ? rows.wLast : 1;
        const std::uint8_t* line = bits + i * stride;
        for (int j = cols.first; j <= cols.last; ++j) {
            const long double wc = j == cols.first ? cols.wFirst : j == cols.last ? cols.wLast : 1;
            const long double w = wr * wc / area;
            const std::uint8_t* p = line + 4 * j;
            sum[0] += p[0] * w;
            sum[1] += p[1] * w;
            sum[2] += p[2] * w;
        }
    }
    bgr[0] = toByte(sum[0]);
    bgr[1] = toByte(sum[1]);
    bgr[2] = toByte(sum[2]);
}

bool AreaAverageReduce(const QImage& source, QImage& target, int targetWidth, int targetHeight)
{
    if (source.isNull() || targetWidth < 1 || targetHeight < 1) {
        target = QImage();
        return false;
    }
    QImage converted;
    const QImage* src = &source;
    const QImage::Format f = source.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32
        && f != QImage::Format_ARGB32_Premultiplied) {
        converted = source.convertToFormat(QImage::Format_RGB32);
        src = &converted;
    }
    const int sw = src->width();
    const int sh = src->height();
    const std::uint8_t* bits = src->constBits();
    const qsizetype stride = src->bytesPerLine();

    QImage out(targetWidth, targetHeight, QImage::Format_RGB32);
    if (out.isNull()) { // not enough memory
        target = QImage();
        return false;
    }

    const long double ry = static_cast<long double>(sh) / targetHeight;
    const long double rx = static_cast<long double>(sw) / targetWidth;
    const double inv = static_cast<double>(1.0L / (rx * ry));
    // The fast sums are exact integers weighted in doubles (error far below
    // 1e-11 of a byte); the plain extended-precision evaluation has an error
    // that grows with the number of pixels summed. The guard stays well
    // above both.
    const double guard = 1e-9 * std::max(1.0, static_cast<double>(rx * ry) * 1e-6);

    std::vector<FastSpan> colSpans(static_cast<size_t>(targetWidth));
    for (int n = 0; n < targetWidth; ++n)
        colSpans[static_cast<size_t>(n)] = fastSpanOf(n, rx, sw);

    // Integer sums of the interior rows of the current target row, 4 lanes
    // per source pixel to keep the indexing of the byte rows.
    std::vector<std::uint32_t> interior(static_cast<size_t>(sw) * 4);

    for (int m = 0; m < targetHeight; ++m) {
        const FastSpan r = fastSpanOf(m, ry, sh);
        const std::uint8_t* rowFirst = bits + r.first * stride;
        const std::uint8_t* rowLast = bits + r.last * stride;
        const bool hasLast = r.last > r.first;
        const bool hasInterior = r.last > r.first + 1;
        if (hasInterior) {
            std::fill(interior.begin(), interior.end(), 0u);
            std::uint32_t* acc = interior.data();
            const size_t count = interior.size();
            for (int i = r.first + 1; i < r.last; ++i) {
                const std::uint8_t* line = bits + i * stride;
                for (size_t k = 0; k < count; ++k)
                    acc[k] += line[k];
            }
        }

        std::uint8_t* dst = out.scanLine(m);
        for (int n = 0; n < targetWidth; ++n) {
            const FastSpan& c = colSpans[static_cast<size_t>(n)];
            double tf[3];
            columnSum(rowFirst, c, tf);
            double s[3] = {r.wFirst * tf[0], r.wFirst * tf[1], r.wFirst * tf[2]};
            if (hasInterior) {
                double ti[3];
                columnSum(interior.data(), c, ti);
                s[0] += ti[0];
                s[1] += ti[1];
                s[2] += ti[2];
            }
            if (hasLast) {
                double tl[3];
                columnSum(rowLast, c, tl);
                s[0] += r.wLast * tl[0];
                s[1] += r.wLast * tl[1];
                s[2] += r.wLast * tl[2];
            }
            s[0] *= inv;
            s[1] *= inv;
            s[2] *= inv;
            std::uint8_t* p = dst + 4 * n;
            if (nearTie(s[0], guard) || nearTie(s[1], guard) || nearTie(s[2], guard)) {
                areaAverageReducePixel(bits, sw, sh, stride, targetWidth, targetHeight, m, n, p);
            } else {
                // Not near a tie, so rounding half up is rounding half to even.
                p[0] = static_cast<std::uint8_t>(std::min(255.0, s[0] + 0.5));
                p[1] = static_cast<std::uint8_t>(std::min(255.0, s[1] + 0.5));
                p[2] = static_cast<std::uint8_t>(std::min(255.0, s[2] + 0.5));
            }
            p[3] = 0;
        }
    }
    target = std::move(out);
    return true;
}

} // namespace korvimo
