#include "output/areaaveragereduce.h"

#include <algorithm>
#include <cstring>
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

// One pixel's four bytes as four lanes; the fast path works on whole pixels.
typedef float v4f __attribute__((vector_size(16)));
typedef std::int32_t v4i __attribute__((vector_size(16)));
typedef std::uint8_t v4u8 __attribute__((vector_size(4)));

// What the fast path needs of a span, in floats.
struct FastSpan {
    int first = 0;
    int last = 0; // == first when one source line is covered
    float wFirst = 0;
    float wLast = 0;
};

FastSpan fastSpanOf(int index, long double ratio, int sourceExtent)
{
    const Span s = spanOf(index, ratio, sourceExtent);
    return {s.first, s.last, static_cast<float>(s.wFirst), static_cast<float>(s.wLast)};
}

inline v4f loadPixel(const std::uint8_t* p)
{
    v4u8 b;
    std::memcpy(&b, p, 4);
    return __builtin_convertvector(b, v4f);
}

template <typename Acc>
inline v4f loadSum(const Acc* p)
{
    typedef Acc v4acc __attribute__((vector_size(4 * sizeof(Acc))));
    v4acc b;
    std::memcpy(&b, p, sizeof b);
    return __builtin_convertvector(b, v4f);
}

// Adds the bytes of one source row to the interior-row sums.
template <typename Acc>
void addRow(Acc* acc, const std::uint8_t* line, size_t count)
{
    for (size_t k = 0; k < count; ++k)
        acc[k] = static_cast<Acc>(acc[k] + line[k]);
}

// The weighted column sums of one target row: the first and the last row
// with their weights, the interior rows with weight 1, as floats per source
// pixel.
template <typename Acc>
void combineRows(v4f* out, int width, const std::uint8_t* first, float wFirst,
                 const Acc* interior, const std::uint8_t* last, float wLast)
{
    for (int j = 0; j < width; ++j) {
        v4f v = wFirst * loadPixel(first + 4 * j);
        if (interior)
            v += loadSum(interior + 4 * j);
        if (last)
            v += wLast * loadPixel(last + 4 * j);
        out[j] = v;
    }
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
    const float inv = static_cast<float>(1.0L / (rx * ry));

    std::vector<FastSpan> colSpans(static_cast<size_t>(targetWidth));
    int maxCols = 1;
    for (int n = 0; n < targetWidth; ++n) {
        const FastSpan c = fastSpanOf(n, rx, sw);
        colSpans[static_cast<size_t>(n)] = c;
        maxCols = std::max(maxCols, c.last - c.first + 1);
    }
    const int maxRows = static_cast<int>(std::ceil(static_cast<double>(ry))) + 1;

    // Error bound of the float sums. Every term is positive, so a sum of k
    // terms is off by at most k units of the last place of the total (2^-24
    // relative); the total stays below 256. Weight conversions, the products,
    // the scale and the +0.5 add a few more units. Twice that bound as the
    // guard; a channel that falls inside it is evaluated the plain way. The
    // plain evaluation's own extended-precision error is far smaller.
    const double guard = 2.0 * (maxRows + maxCols + 8) * std::ldexp(1.0, -24) * 256.0;
    const float lowGuard = static_cast<float>(guard);
    const float highGuard = static_cast<float>(1.0 - guard);

    // Sums of the interior rows (weight 1) in exact integers: 16 bits hold
    // 257 rows of 255, more rows need 32.
    const bool wide = maxRows > 257;
    std::vector<std::uint16_t> narrowSum(wide ? 0 : static_cast<size_t>(sw) * 4);
    std::vector<std::uint32_t> wideSum(wide ? static_cast<size_t>(sw) * 4 : 0);
    std::vector<v4f> columns(static_cast<size_t>(sw));

    for (int m = 0; m < targetHeight; ++m) {
        const FastSpan r = fastSpanOf(m, ry, sh);
        const std::uint8_t* rowFirst = bits + r.first * stride;
        const std::uint8_t* rowLast = r.last > r.first ? bits + r.last * stride : nullptr;
        const bool hasInterior = r.last > r.first + 1;
        const size_t count = static_cast<size_t>(sw) * 4;
        if (wide) {
            std::uint32_t* acc = nullptr;
            if (hasInterior) {
                acc = wideSum.data();
                std::fill(wideSum.begin(), wideSum.end(), 0u);
                for (int i = r.first + 1; i < r.last; ++i)
                    addRow(acc, bits + i * stride, count);
            }
            combineRows(columns.data(), sw, rowFirst, r.wFirst, acc, rowLast, r.wLast);
        } else {
            std::uint16_t* acc = nullptr;
            if (hasInterior) {
                acc = narrowSum.data();
                std::fill(narrowSum.begin(), narrowSum.end(), std::uint16_t(0));
                for (int i = r.first + 1; i < r.last; ++i)
                    addRow(acc, bits + i * stride, count);
            }
            combineRows(columns.data(), sw, rowFirst, r.wFirst, acc, rowLast, r.wLast);
        }

        const v4f* col = columns.data();
        std::uint8_t* dst = out.scanLine(m);
        for (int n = 0; n < targetWidth; ++n) {
            const FastSpan& c = colSpans[static_cast<size_t>(n)];
            v4f s = c.wFirst * col[c.first];
            if (c.last > c.first) {
                for (int j = c.first + 1; j < c.last; ++j)
                    s += col[j];
                s += c.wLast * col[c.last];
            }
            const v4f rounded = s * inv + 0.5f;
            const v4i whole = __builtin_convertvector(rounded, v4i); // truncates; all positive
            const v4f frac = rounded - __builtin_convertvector(whole, v4f);
            std::uint8_t* p = dst + 4 * n;
            const bool tie = frac[0] < lowGuard || frac[0] > highGuard || frac[1] < lowGuard
                             || frac[1] > highGuard || frac[2] < lowGuard || frac[2] > highGuard;
            if (tie) {
                areaAverageReducePixel(bits, sw, sh, stride, targetWidth, targetHeight, m, n, p);
            } else {
                // Not near a tie, so rounding half up is rounding half to even.
                p[0] = static_cast<std::uint8_t>(std::min(whole[0], 255));
                p[1] = static_cast<std::uint8_t>(std::min(whole[1], 255));
                p[2] = static_cast<std::uint8_t>(std::min(whole[2], 255));
            }
            p[3] = 0;
        }
    }
    target = std::move(out);
    return true;
}

} // namespace korvimo
