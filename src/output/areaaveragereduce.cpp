#include "output/areaaveragereduce.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The exact integer evaluation for whole ratios kx = sw / tw, ky = sh / th.
//
// Every source pixel of a target pixel's kx × ky block then weighs 1, except
// that the block's last row weighs 1 − ey and its last column 1 − ex, with
// e = 1 − (kCover · k − (k − 1)) = 0.0001 · k. So area · value = S − D, where
// S is the plain integer sum of the block and
// D = ey · R + ex · C − ex · ey · corner, R and C the sums of the last row and
// column. D is exactly 0 when R and C are 0 and otherwise lies in (0, Dmax],
// Dmax = 255 · (ey · kx + ex · ky). When Dmax is smaller than the distance
// from the half to the nearest remainder that is not a half, the rounded
// value follows from S: below the half q = S / area, above it q + 1, and at
// an exact half (S mod area = area / 2, even areas only) q when D > 0 and
// the even one of q, q + 1 when D = 0. That is the plain evaluation's
// result, whose own error is many orders smaller than these distances.
constexpr int kReciprocalShift = 20;

bool wholeRatioDecidesExactly(int kx, int ky)
{
    if (kx < 1 || ky < 1 || kx > 64 || ky > 64)
        return false;
    const long double area = static_cast<long double>(kx) * ky;
    // A little over the bound, for the rounding of kCover's products.
    const long double dMax = 255 * (1 - kCover) * (ky * kx + kx * ky) * 1.001L;
    const long double room = (kx * ky) % 2 == 0 ? 1.0L : 0.5L;
    return dMax < room && area * 255 < 65536;
}

struct WholeRatio {
    int kx = 0, ky = 0;
    std::uint32_t area = 0;
    std::uint32_t reciprocal = 0; // 2^kReciprocalShift / area, rounded up
    bool powerOfTwo = false;
};

typedef std::uint8_t v16u8 __attribute__((vector_size(16)));
typedef std::uint16_t v16u16 __attribute__((vector_size(32)));
typedef std::uint16_t v4u16 __attribute__((vector_size(8)));
typedef std::uint32_t v4u32 __attribute__((vector_size(16)));

// colSum[k] = the sum of byte k over the ky rows, for k from `from` on.
void sumRows(std::uint16_t* colSum, const std::uint8_t* const* rows, int ky, size_t from, size_t count)
{
    size_t k = from;
    for (; k + 16 <= count; k += 16) {
        v16u8 b;
        std::memcpy(&b, rows[0] + k, 16);
        v16u16 acc = __builtin_convertvector(b, v16u16);
        for (int i = 1; i < ky; ++i) {
            std::memcpy(&b, rows[i] + k, 16);
            acc += __builtin_convertvector(b, v16u16);
        }
        std::memcpy(colSum + k, &acc, sizeof acc);
    }
    for (; k < count; ++k) {
        std::uint16_t acc = 0;
        for (int i = 0; i < ky; ++i)
            acc = static_cast<std::uint16_t>(acc + rows[i][k]);
        colSum[k] = acc;
    }
}

inline v4u32 loadSum4(const std::uint16_t* p)
{
    v4u16 v;
    std::memcpy(&v, p, sizeof v);
    return __builtin_convertvector(v, v4u32);
}

// The rounded value of a channel whose block sum is an exact half
// (q · area + area / 2), for power-of-two areas: q when the last row or
// column holds ink there (D > 0), else the even one of q, q + 1.
inline std::uint32_t halfRounded(std::uint32_t q, std::uint32_t edge)
{
    return edge != 0 ? q : q + (q & 1);
}

// The sum of channel c over the last row and the last column of the
// kx × ky block starting at source column x0.
std::uint32_t edgeSum(const std::uint8_t* const* rows, int kx, int ky, int x0, int c)
{
    std::uint32_t e = 0;
    for (int j = 0; j < kx; ++j)
        e += rows[ky - 1][4 * (x0 + j) + c];
    for (int i = 0; i < ky - 1; ++i)
        e += rows[i][4 * (x0 + kx - 1) + c];
    return e;
}

// Fourfold both ways, the supersample of every anti-aliased picture: two
// target pixels at a time, the 4 × 4 sums in 16-bit lanes, all in registers.
// Returns how many target pixels of the row it did (an even count, 0
// without SSE2); the general loop does the rest.
int fourByFourRow(const std::uint8_t* const* rows, int tw, std::uint8_t* dst)
{
#if defined(__SSE2__)
    const std::uint8_t* r[4] = {rows[0], rows[1], rows[2], rows[3]};
    const __m128i zero = _mm_setzero_si128();
    const __m128i eight = _mm_set1_epi16(8);
    const __m128i fifteen = _mm_set1_epi16(15);
    // Blue, green, red of both pixels; the fourth byte is written as 0.
    const __m128i colour = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const int pairs = tw / 2;
    for (int k = 0; k < pairs; ++k) {
        const size_t at = size_t(k) * 32; // eight source pixels
        // a0 … a3: source pixels 0-1, 2-3, 4-5, 6-7, summed down the four rows.
        __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
        for (int i = 0; i < 4; ++i) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r[i] + at));
            const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r[i] + at + 16));
            a0 = _mm_add_epi16(a0, _mm_unpacklo_epi8(x, zero));
            a1 = _mm_add_epi16(a1, _mm_unpackhi_epi8(x, zero));
            a2 = _mm_add_epi16(a2, _mm_unpacklo_epi8(y, zero));
            a3 = _mm_add_epi16(a3, _mm_unpackhi_epi8(y, zero));
        }
        const __m128i b0 = _mm_add_epi16(a0, a1); // two halves of the first target pixel
        const __m128i b1 = _mm_add_epi16(a2, a3); // and of the second
        // Lanes 0-3 the first target pixel's sums, 4-7 the second's.
        const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(b0, b1), _mm_unpackhi_epi64(b0, b1));
        __m128i value = _mm_and_si128(_mm_srli_epi16(_mm_add_epi16(sum, eight), 4), colour);
        const __m128i half = _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(sum, fifteen), eight), colour);
        if (_mm_movemask_epi8(half) != 0) [[unlikely]] {
            alignas(16) std::uint16_t sums[8], values[8];
            _mm_store_si128(reinterpret_cast<__m128i*>(sums), sum);
            _mm_store_si128(reinterpret_cast<__m128i*>(values), value);
            for (int lane : {0, 1, 2, 4, 5, 6})
                if ((sums[lane] & 15) == 8)
                    values[lane] = static_cast<std::uint16_t>(
                        halfRounded(sums[lane] >> 4u, edgeSum(rows, 4, 4, 8 * k + (lane < 4 ? 0 : 4), lane % 4)));
            value = _mm_load_si128(reinterpret_cast<const __m128i*>(values));
        }
        // Every lane is at most 255, so saturating is narrowing.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + size_t(k) * 8), _mm_packus_epi16(value, value));
    }
    return 2 * pairs;
#else
    (void)rows;
    (void)tw;
    (void)dst;
    return 0;
#endif
}

} // namespace

struct AreaAverageReducer::State {
    int sw = 0, sh = 0, tw = 0, th = 0;
    long double rx = 0, ry = 0;
    float inv = 0;
    float lowGuard = 0, highGuard = 1;
    bool wide = false;
    WholeRatio whole; // kx 0: the ratios are not whole, or too large
    std::vector<FastSpan> colSpans;
    std::vector<std::uint16_t> narrowSum;
    std::vector<std::uint32_t> wideSum;
    std::vector<v4f> columns;
};

AreaAverageReducer::AreaAverageReducer(int sourceWidth, int sourceHeight, int targetWidth,
                                       int targetHeight, ReducerPath path)
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

    if (path == ReducerPath::Fastest && s.sw % s.tw == 0 && s.sh % s.th == 0) {
        const int kx = s.sw / s.tw, ky = s.sh / s.th;
        if (wholeRatioDecidesExactly(kx, ky)) {
            WholeRatio& w = s.whole;
            w.kx = kx;
            w.ky = ky;
            w.area = static_cast<std::uint32_t>(kx * ky);
            w.reciprocal = (std::uint32_t(1) << kReciprocalShift) / w.area + 1;
            w.powerOfTwo = (w.area & (w.area - 1)) == 0;
        }
    }
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
    if (s.whole.kx > 0) {
        wholeRatioRows(bits, stride, bandTop, m0, m1, targetBits, targetStride, targetTop);
        return;
    }
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

void AreaAverageReducer::wholeRatioRows(const std::uint8_t* bits, qsizetype stride, int bandTop, int m0,
                                        int m1, std::uint8_t* targetBits, qsizetype targetStride,
                                        int targetTop)
{
    State& s = *d;
    const WholeRatio& w = s.whole;
    const size_t count = static_cast<size_t>(s.sw) * 4;
    std::uint16_t* colSum = s.narrowSum.data();
    const std::uint8_t* rows[64];
    const v4u32 area = {w.area, w.area, w.area, w.area};
    const v4u32 reciprocal = {w.reciprocal, w.reciprocal, w.reciprocal, w.reciprocal};

    const bool fourByFour = w.kx == 4 && w.ky == 4;
    for (int m = m0; m < m1; ++m) {
        for (int i = 0; i < w.ky; ++i)
            rows[i] = bits + qsizetype(m * w.ky + i - bandTop) * stride;
        std::uint8_t* dst = targetBits + qsizetype(m - targetTop) * targetStride;
        const int done = fourByFour ? fourByFourRow(rows, s.tw, dst) : 0;
        if (done == s.tw)
            continue;
        sumRows(colSum, rows, w.ky, size_t(done) * size_t(w.kx) * 4, count);
        for (int n = done; n < s.tw; ++n) {
            const std::uint16_t* block = colSum + size_t(n) * size_t(w.kx) * 4;
            v4u32 sum = loadSum4(block);
            for (int j = 1; j < w.kx; ++j)
                sum += loadSum4(block + 4 * j);
            const v4u32 q = (sum * reciprocal) >> kReciprocalShift;
            const v4u32 twice = (sum - q * area) * 2;
            // A true comparison is all ones, so subtracting it adds one.
            v4u32 value = q - (v4u32)(twice > area);
            const v4u32 half = (v4u32)(twice == area);
            std::uint8_t* p = dst + 4 * n;
            if (half[0] | half[1] | half[2]) [[unlikely]] {
                bool plain = false;
                for (int c = 0; c < 3; ++c) {
                    if (!half[c])
                        continue;
                    // D = 0 exactly when the last row and column hold nothing.
                    const std::uint32_t edge = edgeSum(rows, w.kx, w.ky, n * w.kx, c);
                    if (edge != 0 || w.powerOfTwo)
                        value[c] = halfRounded(q[c], edge);
                    else
                        plain = true; // 1 / area is inexact: as the plain sum rounds
                }
                if (plain) {
                    plainPixel(bits, bandTop, s.sw, s.sh, stride, s.tw, s.th, m, n, p);
                    p[3] = 0;
                    continue;
                }
            }
            p[0] = static_cast<std::uint8_t>(value[0]);
            p[1] = static_cast<std::uint8_t>(value[1]);
            p[2] = static_cast<std::uint8_t>(value[2]);
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
