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

void plainPixel(const std::uint8_t* bits, int bandTop, int sourceWidth, int sourceHeight,
                qsizetype stride, int targetWidth, int targetHeight, int m, int n, std::uint8_t bgr[3]);

} // namespace

void areaAverageReducePixel(const std::uint8_t* bits, int sourceWidth, int sourceHeight,
                            qsizetype stride, int targetWidth, int targetHeight, int m, int n,
                            std::uint8_t bgr[3])
{
    plainPixel(bits, 0, sourceWidth, sourceHeight, stride, targetWidth, targetHeight, m, n, bgr);
}

namespace {

// The plain evaluation, reading source row i at bits + (i - bandTop) · stride.
void plainPixel(const std::uint8_t* bits, int bandTop, int sourceWidth, int sourceHeight,
                qsizetype stride, int targetWidth, int targetHeight, int m, int n, std::uint8_t bgr[3])
{
    const long double ry = static_cast<long double>(sourceHeight) / targetHeight;
    const long double rx = static_cast<long double>(sourceWidth) / targetWidth;
    const long double area = rx * ry;
    const Span rows = spanOf(m, ry, sourceHeight);
    const Span cols = spanOf(n, rx, sourceWidth);
    long double sum[3] = {0, 0, 0};
    for (int i = rows.first; i <= rows.last; ++i) {
        const long double wr = i == rows.first ? rows.wFirst : i == rows.last ? rows.wLast : 1;
        const std::uint8_t* line = bits + qsizetype(i - bandTop) * stride;
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

} // namespace

struct AreaAverageReducer::State {
    int sw = 0, sh = 0, tw = 0, th = 0;
    long double rx = 0, ry = 0;
    float inv = 0;
    float lowGuard = 0, highGuard = 1;
    bool wide = false;
    std::vector<FastSpan> colSpans;
    std::vector<std::uint16_t> narrowSum;
    std::vector<std::uint32_t> wideSum;
    std::vector<v4f> columns;
};

AreaAverageReducer::AreaAverageReducer(int sourceWidth, int sourceHeight, int targetWidth,
                                       int targetHeight)
    : d(std::make_unique<State>())
{
    if (sourceWidth < 1 || sourceHeight < 1 || targetWidth < 1 || targetHeight < 1)
        return;
    State& s = *d;
    s.sw = sourceWidth;
    s.sh = sourceHeight;
    s.tw = targetWidth;
    s.th = targetHeight;
    s.ry = static_cast<long double>(s.sh) / s.th;
    s.rx = static_cast<long double>(s.sw) / s.tw;
    s.inv = static_cast<float>(1.0L / (s.rx * s.ry));

    s.colSpans.resize(static_cast<size_t>(s.tw));
    int maxCols = 1;
    for (int n = 0; n < s.tw; ++n) {
        const FastSpan c = fastSpanOf(n, s.rx, s.sw);
        s.colSpans[static_cast<size_t>(n)] = c;
        maxCols = std::max(maxCols, c.last - c.first + 1);
    }
    const int maxRows = static_cast<int>(std::ceil(static_cast<double>(s.ry))) + 1;

    // Error bound of the float sums. Every term is positive, so a sum of k
    // terms is off by at most k units of the last place of the total (2^-24
    // relative); the total stays below 256. Weight conversions, the products,
    // the scale and the +0.5 add a few more units. Twice that bound as the
    // guard; a channel that falls inside it is evaluated the plain way. The
    // plain evaluation's own extended-precision error is far smaller.
    const double guard = 2.0 * (maxRows + maxCols + 8) * std::ldexp(1.0, -24) * 256.0;
    s.lowGuard = static_cast<float>(guard);
    s.highGuard = static_cast<float>(1.0 - guard);

    // Sums of the interior rows (weight 1) in exact integers: 16 bits hold
    // 257 rows of 255, more rows need 32.
    s.wide = maxRows > 257;
    const size_t lanes = static_cast<size_t>(s.sw) * 4;
    if (s.wide)
        s.wideSum.resize(lanes);
    else
        s.narrowSum.resize(lanes);
    s.columns.resize(static_cast<size_t>(s.sw));
}

AreaAverageReducer::~AreaAverageReducer() = default;

bool AreaAverageReducer::isValid() const { return d->tw > 0; }

int AreaAverageReducer::firstSourceRow(int m) const { return spanOf(m, d->ry, d->sh).first; }

int AreaAverageReducer::lastSourceRow(int m) const { return spanOf(m, d->ry, d->sh).last; }

void AreaAverageReducer::reduceRows(const QImage& band, int bandTop, int m0, int m1, QImage& target)
{
    reduceRows(band, bandTop, m0, m1, target.bits(), target.bytesPerLine());
}

void AreaAverageReducer::reduceRows(const QImage& band, int bandTop, int m0, int m1,
                                    std::uint8_t* targetBits, qsizetype targetStride, int targetTop)
{
    State& s = *d;
    const std::uint8_t* bits = band.constBits();
    const qsizetype stride = band.bytesPerLine();
    const size_t count = static_cast<size_t>(s.sw) * 4;
    auto row = [&](int i) { return bits + qsizetype(i - bandTop) * stride; };

    for (int m = m0; m < m1; ++m) {
        const FastSpan r = fastSpanOf(m, s.ry, s.sh);
        const std::uint8_t* rowFirst = row(r.first);
        const std::uint8_t* rowLast = r.last > r.first ? row(r.last) : nullptr;
        const bool hasInterior = r.last > r.first + 1;
        if (s.wide) {
            std::uint32_t* acc = nullptr;
            if (hasInterior) {
                acc = s.wideSum.data();
                std::fill(s.wideSum.begin(), s.wideSum.end(), 0u);
                for (int i = r.first + 1; i < r.last; ++i)
                    addRow(acc, row(i), count);
            }
            combineRows(s.columns.data(), s.sw, rowFirst, r.wFirst, acc, rowLast, r.wLast);
        } else {
            std::uint16_t* acc = nullptr;
            if (hasInterior) {
                acc = s.narrowSum.data();
                std::fill(s.narrowSum.begin(), s.narrowSum.end(), std::uint16_t(0));
                for (int i = r.first + 1; i < r.last; ++i)
                    addRow(acc, row(i), count);
            }
            combineRows(s.columns.data(), s.sw, rowFirst, r.wFirst, acc, rowLast, r.wLast);
        }

        const v4f* col = s.columns.data();
        std::uint8_t* dst = targetBits + qsizetype(m - targetTop) * targetStride;
        for (int n = 0; n < s.tw; ++n) {
            const FastSpan& c = s.colSpans[static_cast<size_t>(n)];
            v4f sum = c.wFirst * col[c.first];
            if (c.last > c.first) {
                for (int j = c.first + 1; j < c.last; ++j)
                    sum += col[j];
                sum += c.wLast * col[c.last];
            }
            const v4f rounded = sum * s.inv + 0.5f;
            const v4i whole = __builtin_convertvector(rounded, v4i); // truncates; all positive
            const v4f frac = rounded - __builtin_convertvector(whole, v4f);
            std::uint8_t* p = dst + 4 * n;
            const bool tie = frac[0] < s.lowGuard || frac[0] > s.highGuard || frac[1] < s.lowGuard
                             || frac[1] > s.highGuard || frac[2] < s.lowGuard || frac[2] > s.highGuard;
            if (tie) {
                plainPixel(bits, bandTop, s.sw, s.sh, stride, s.tw, s.th, m, n, p);
            } else {
                // Not near a tie, so rounding half up is rounding half to even.
                p[0] = static_cast<std::uint8_t>(std::min(whole[0], 255));
                p[1] = static_cast<std::uint8_t>(std::min(whole[1], 255));
                p[2] = static_cast<std::uint8_t>(std::min(whole[2], 255));
            }
            p[3] = 0;
        }
    }
}

namespace {

// The 32-bit byte order the reduction reads; other formats are converted.
bool isBgrx(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32
           || f == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

bool AreaAverageReduce(const QImage& source, QImage& target, int targetWidth, int targetHeight)
{
    if (source.isNull() || targetWidth < 1 || targetHeight < 1) {
        target = QImage();
        return false;
    }
    const QImage src = isBgrx(source.format()) ? source : source.convertToFormat(QImage::Format_RGB32);
    QImage out(targetWidth, targetHeight, QImage::Format_RGB32);
    if (out.isNull() || src.isNull()) { // not enough memory
        target = QImage();
        return false;
    }
    AreaAverageReducer reducer(src.width(), src.height(), targetWidth, targetHeight);
    reducer.reduceRows(src, 0, 0, targetHeight, out);
    target = std::move(out);
    return true;
}

} // namespace korvimo
