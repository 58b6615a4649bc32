#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstring>
#include <random>

#include "output/areaaveragereduce.h"

using namespace korvimo;

namespace {

// The reduction written out the plain way, as a person would check it by
// hand: every target pixel sums every covered source pixel with its weight.
QImage plainReduce(const QImage& s, int tw, int th)
{
    QImage t(tw, th, QImage::Format_RGB32);
    const long double ry = static_cast<long double>(s.height()) / th;
    const long double rx = static_cast<long double>(s.width()) / tw;
    for (int m = 0; m < th; ++m) {
        const long double y0 = m * ry;
        const long double y1 = y0 + 0.9999L * ry;
        const int i0 = static_cast<int>(std::trunc(y0));
        const int i1 = static_cast<int>(std::trunc(y1));
        for (int n = 0; n < tw; ++n) {
            const long double x0 = n * rx;
            const long double x1 = x0 + 0.9999L * rx;
            const int j0 = static_cast<int>(std::trunc(x0));
            const int j1 = static_cast<int>(std::trunc(x1));
            long double sum[3] = {0, 0, 0};
            for (int i = i0; i <= i1; ++i) {
                long double wr = 1;
                if (i == i0)
                    wr = 1 - (y0 - i0);
                if (i == i1)
                    wr = wr - (i1 + 1 - y1);
                for (int j = j0; j <= j1; ++j) {
                    long double wc = 1;
                    if (j == j0)
                        wc = 1 - (x0 - j0);
                    if (j == j1)
                        wc = wc - (j1 + 1 - x1);
                    const long double w = wr * wc / (rx * ry);
                    const uchar* p = s.constScanLine(i) + 4 * j;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c] * w;
                }
            }
            uchar* q = t.scanLine(m) + 4 * n;
            for (int c = 0; c < 3; ++c)
                q[c] = static_cast<uchar>(std::rint(sum[c]));
            q[3] = 0;
        }
    }
    return t;
}

QImage randomImage(std::mt19937& rng, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < h; ++y) {
        uchar* p = img.scanLine(y);
        for (int x = 0; x < 4 * w; ++x)
            p[x] = static_cast<uchar>(byte(rng));
    }
    return img;
}

// First differing byte as "row,col,channel: got vs want", empty when equal.
std::string firstDifference(const QImage& got, const QImage& want)
{
    if (got.size() != want.size())
        return "size differs";
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < 4 * want.width(); ++x)
            if (got.constScanLine(y)[x] != want.constScanLine(y)[x])
                return std::to_string(y) + "," + std::to_string(x / 4) + "," + std::to_string(x % 4)
                       + ": " + std::to_string(got.constScanLine(y)[x]) + " vs "
                       + std::to_string(want.constScanLine(y)[x]);
    return {};
}

QImage filled(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

const uchar* pixel(const QImage& img, int x, int y) { return img.constScanLine(y) + 4 * x; }

} // namespace

TEST(Output_AreaAverageReduceTests, MatchesPlainEvaluationOnRandomImagesAndRatios)
{
    // Random pictures reduced (and enlarged) by many ratios equal the plain sum byte for byte.
    std::mt19937 rng(20261209);
    struct Case { int sw, sh, tw, th; };
    const Case cases[] = {{40, 40, 10, 10}, {36, 27, 12, 9},  {37, 23, 10, 7}, {100, 61, 33, 17},
                          {17, 13, 17, 13}, {10, 7, 23, 19},  {9, 40, 4, 13},  {64, 64, 1, 1},
                          {50, 3, 7, 1},    {3, 50, 1, 7},    {7, 5, 6, 4},    {5, 5, 4, 6},
                          {400, 300, 100, 75}, {401, 299, 97, 71}};
    for (const Case& c : cases) {
        const QImage src = randomImage(rng, c.sw, c.sh);
        QImage fast;
        ASSERT_TRUE(AreaAverageReduce(src, fast, c.tw, c.th));
        EXPECT_EQ(fast.format(), QImage::Format_RGB32);
        EXPECT_EQ(firstDifference(fast, plainReduce(src, c.tw, c.th)), "")
            << c.sw << "x" << c.sh << " -> " << c.tw << "x" << c.th;
    }
    // And random ratios, both ways.
    std::uniform_int_distribution<int> side(1, 90);
    for (int k = 0; k < 60; ++k) {
        const int sw = side(rng), sh = side(rng), tw = side(rng), th = side(rng);
        const QImage src = randomImage(rng, sw, sh);
        QImage fast;
        ASSERT_TRUE(AreaAverageReduce(src, fast, tw, th));
        ASSERT_EQ(firstDifference(fast, plainReduce(src, tw, th)), "")
            << sw << "x" << sh << " -> " << tw << "x" << th;
    }
}

TEST(Output_AreaAverageReduceTests, IntegerFactorsWeighLastRowAndColumnLess)
{
    // Factor 3 weighs the last row and column 0.9997, factor 4 0.9996; the first ones weigh 1.
    for (int k : {3, 4}) {
        const long double last = 1 - (k + 0.0L - 0.9999L * k); // 0.9997 or 0.9996
        EXPECT_NEAR(static_cast<double>(last), k == 3 ? 0.9997 : 0.9996, 1e-12);
        // A single 255 in a k × k block of zeros shows the weight of its place.
        for (int place = 0; place < k * k; ++place) {
            QImage src = filled(k, k, 0xFF000000);
            const int px = place % k, py = place / k;
            // Blue 255 at the place, so blue = round(255 · wr · wc / k²).
            src.setPixel(px, py, qRgb(0, 0, 255));
            QImage t;
            ASSERT_TRUE(AreaAverageReduce(src, t, 1, 1));
            const long double wr = py == k - 1 ? last : 1;
            const long double wc = px == k - 1 ? last : 1;
            EXPECT_EQ(pixel(t, 0, 0)[0], static_cast<int>(std::rint(255 * wr * wc / (k * k))));
        }
        // With 100 on every place the weights' sum shows: 100 · (k − 1 + last)² / k².
        QImage t;
        ASSERT_TRUE(AreaAverageReduce(filled(5 * k, 2 * k, qRgb(100, 100, 100)), t, 5, 2));
        const long double mean = 100 * (k - 1 + last) * (k - 1 + last) / (k * k);
        EXPECT_EQ(pixel(t, 4, 1)[2], static_cast<int>(std::rint(mean)));
        EXPECT_EQ(pixel(t, 0, 0)[1], 100); // 99.98, so the losses never show in a flat area
    }
}

TEST(Output_AreaAverageReduceTests, WhiteStaysWhiteAndFourthByteIsZero)
{
    // Pure white, and pure colours, survive every ratio; the fourth byte is cleared.
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(1, 128, 254)};
    struct Size { int sw, sh, tw, th; };
    const Size sizes[] = {{40, 40, 10, 10}, {33, 17, 10, 5}, {5, 7, 13, 11}, {1000, 3, 1, 1}};
    for (QRgb colour : colours)
        for (const Size& s : sizes) {
            QImage t;
            ASSERT_TRUE(AreaAverageReduce(filled(s.sw, s.sh, colour), t, s.tw, s.th));
            for (int y = 0; y < s.th; ++y)
                for (int x = 0; x < s.tw; ++x) {
                    const uchar* p = pixel(t, x, y);
                    ASSERT_EQ(p[0], qBlue(colour));
                    ASSERT_EQ(p[1], qGreen(colour));
                    ASSERT_EQ(p[2], qRed(colour));
                    ASSERT_EQ(p[3], 0);
                }
        }
}

TEST(Output_AreaAverageReduceTests, CheckerboardGivesItsMean)
{
    // A black and white checkerboard reduced by an even factor is 255 · ½ · the weights' sum.
    QImage board(80, 80, QImage::Format_RGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QImage t;
    ASSERT_TRUE(AreaAverageReduce(board, t, 20, 20));
    // Factor 4: every 4 × 4 block holds 8 whites, 4 of them in the 0.9996-weighted last row
    // or column; the doubly weighted corner is black.
    long double sum = 0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if ((i + j) % 2)
                sum += (i == 3 ? 0.9996L : 1) * (j == 3 ? 0.9996L : 1);
    const int expected = static_cast<int>(std::rint(255 * sum / 16)); // 127.45 → 127
    EXPECT_EQ(expected, 127);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(pixel(t, x, y)[1], expected) << x << "," << y;
    // An odd factor has no exact half: 5 × 5 cells alternate 13 and 12 whites.
    ASSERT_TRUE(AreaAverageReduce(board, t, 16, 16));
    EXPECT_NE(pixel(t, 0, 0)[0], pixel(t, 1, 0)[0]);
    EXPECT_NEAR(pixel(t, 0, 0)[0] + pixel(t, 1, 0)[0], 255, 1);
}

TEST(Output_AreaAverageReduceTests, OnePixelTargetsAndNonIntegerRatios)
{
    // One-pixel targets average whole rows, columns or pictures; 2.5 and 0.4 ratios blend neighbours.
    QImage ramp(10, 1, QImage::Format_RGB32);
    for (int x = 0; x < 10; ++x)
        ramp.setPixel(x, 0, qRgb(x * 20, 0, 0));
    QImage t;
    ASSERT_TRUE(AreaAverageReduce(ramp, t, 1, 1));
    // Mean 90, less the 0.0001 part of the last column: (900 − 0.001·180)/10 ≈ 89.98.
    EXPECT_EQ(pixel(t, 0, 0)[2], 90);

    // 10 → 4: ratio 2.5, the second target pixel covers columns 2.5 to 4.99975.
    ASSERT_TRUE(AreaAverageReduce(ramp, t, 4, 1));
    const long double x0 = 2.5L, x1 = x0 + 0.9999L * 2.5L;
    // One source row, covered 0.9999 of the way.
    const long double want = (0.5L * 40 + 1 * 60 + (x1 - 4) * 80) * 0.9999L / 2.5L;
    EXPECT_EQ(pixel(t, 1, 0)[2], static_cast<int>(std::rint(want)));

    // 2 → 5: ratio 0.4, enlarging; the target pixel 2 straddles the two source pixels.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, qRgb(0, 0, 0));
    two.setPixel(1, 0, qRgb(200, 0, 0));
    ASSERT_TRUE(AreaAverageReduce(two, t, 5, 1));
    const int reds[] = {pixel(t, 0, 0)[2], pixel(t, 1, 0)[2], pixel(t, 2, 0)[2],
                        pixel(t, 3, 0)[2], pixel(t, 4, 0)[2]};
    EXPECT_EQ(reds[0], 0);
    EXPECT_EQ(reds[1], 0);
    EXPECT_EQ(reds[2], 100); // covers 0.8 to 1.19996: half of each source pixel
    EXPECT_EQ(reds[3], 200);
    EXPECT_EQ(reds[4], 200);

    // Tall and one wide: a column of 7 becomes one pixel.
    QImage column = filled(1, 7, qRgb(0, 70, 0));
    ASSERT_TRUE(AreaAverageReduce(column, t, 1, 1));
    EXPECT_EQ(pixel(t, 0, 0)[1], 70);
}

TEST(Output_AreaAverageReduceTests, RefusesEmptyTargetsAndConvertsOtherFormats)
{
    // A zero target size or a null source gives a null target; 24-bit sources are read correctly.
    QImage t(3, 3, QImage::Format_RGB32);
    EXPECT_FALSE(AreaAverageReduce(filled(4, 4, 0xFFFFFFFF), t, 0, 3));
    EXPECT_TRUE(t.isNull());
    EXPECT_FALSE(AreaAverageReduce(QImage(), t, 2, 2));
    QImage rgb888(8, 8, QImage::Format_RGB888);
    rgb888.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(AreaAverageReduce(rgb888, t, 2, 2));
    EXPECT_EQ(pixel(t, 1, 1)[0], 30);
    EXPECT_EQ(pixel(t, 1, 1)[1], 20);
    EXPECT_EQ(pixel(t, 1, 1)[2], 10);
}

TEST(Output_AreaAverageReduceTests, ExactTiesRoundToEven)
{
    // Values only in the fully weighted 3 × 3 part of a 4 × 4 block give exact halves: to even.
    // Sums 8, 24, 40, 56 over 16 are 0.5, 1.5, 2.5, 3.5 and round to 0, 2, 2, 4.
    const int sums[] = {8, 24, 40, 56};
    const int want[] = {0, 2, 2, 4};
    QImage src = filled(16, 4, 0xFF000000);
    for (int b = 0; b < 4; ++b) {
        // Spread the sum over the block's first pixel and its neighbours, each channel alike.
        int left = sums[b];
        for (int k = 0; k < 9 && left > 0; ++k) {
            const int v = std::min(left, 255);
            src.setPixel(4 * b + k % 3, k / 3, qRgb(v, v, v));
            left -= v;
        }
    }
    QImage t;
    ASSERT_TRUE(AreaAverageReduce(src, t, 4, 1));
    for (int b = 0; b < 4; ++b)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(pixel(t, b, 0)[c], want[b]) << "block " << b << " channel " << c;
    EXPECT_EQ(firstDifference(t, plainReduce(src, 4, 1)), "");
}

namespace {

QImage reduceBy(ReducerPath path, const QImage& src, int tw, int th)
{
    QImage t(tw, th, QImage::Format_RGB32);
    AreaAverageReducer reducer(src.width(), src.height(), tw, th, path);
    reducer.reduceRows(src, 0, 0, th, t);
    return t;
}

// What the program's pictures hold: hard-edged fills and wide strokes,
// a gradient drawn a line a row, and texts of several sizes and turns.
QImage drawnPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int y = 0; y < h / 3; ++y) {
        p.setPen(QColor(255 * y / (h / 3), 40, 255 - 255 * y / (h / 3)));
        p.drawLine(0, y, w - 1, y);
    }
    p.setPen(QPen(QColor(10, 160, 60), w / 40.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(230, 120, 20));
    const QPointF poly[] = {{w * 0.1, h * 0.5}, {w * 0.7, h * 0.35}, {w * 0.9, h * 0.95}, {w * 0.3, h * 0.8}};
    p.drawPolygon(poly, 4);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(QRectF(w * 0.2, h * 0.2, w * 0.5, h * 0.6));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleStrategy(QFont::NoAntialias);
    for (int k = 0; k < 4; ++k) {
        f.setPixelSize(std::max(4, h / (6 + 5 * k)));
        p.setFont(f);
        p.save();
        p.translate(w * (0.1 + 0.2 * k), h * (0.3 + 0.15 * k));
        p.rotate(-30.0 * k);
        p.drawText(0, 0, QStringLiteral("Kruispunt %1").arg(1234 * k));
        p.restore();
    }
    return img;
}

} // namespace

TEST(Output_AreaAverageReduceTests, WholeRatiosInIntegersGiveTheGeneralBytes)
{
    // Drawn pictures at several widths, fourfold and other whole ratios
    // (and one that is not whole): the integer sums and the general path
    // agree byte for byte.
    struct Case { int tw, th, kx, ky; };
    const Case cases[] = {{97, 61, 4, 4}, {250, 180, 4, 4}, {503, 311, 4, 4}, {120, 90, 3, 3},
                          {120, 90, 2, 4}, {150, 100, 4, 1}, {80, 60, 1, 1},   {100, 70, 3, 4}};
    for (const Case& c : cases) {
        const QImage src = drawnPicture(c.tw * c.kx, c.th * c.ky);
        EXPECT_EQ(firstDifference(reduceBy(ReducerPath::Fastest, src, c.tw, c.th),
                                  reduceBy(ReducerPath::General, src, c.tw, c.th)),
                  "")
            << c.tw << "x" << c.th << " by " << c.kx << "x" << c.ky;
    }
    const QImage odd = drawnPicture(401, 403);
    EXPECT_EQ(firstDifference(reduceBy(ReducerPath::Fastest, odd, 100, 100),
                              reduceBy(ReducerPath::General, odd, 100, 100)),
              "");
}

TEST(Output_AreaAverageReduceTests, WholeRatiosDecideExactHalvesAsThePlainSum)
{
    // Blocks made to sum to exact halves, with and without ink in the
    // less-weighted last row and column: the integer sums round them as
    // the plain evaluation does, for power-of-two and other areas.
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> coin(0, 1), eighth(0, 31);
    for (const auto [kx, ky] : {std::pair{4, 4}, {2, 2}, {2, 3}, {3, 4}, {4, 2}, {1, 4}, {3, 3}}) {
        const int tw = 37, th = 23;
        QImage src(tw * kx, th * ky, QImage::Format_RGB32);
        for (int y = 0; y < src.height(); ++y) {
            uchar* line = src.scanLine(y);
            for (int x = 0; x < src.width(); ++x)
                for (int c = 0; c < 4; ++c)
                    line[4 * x + c] = coin(rng) ? static_cast<uchar>(8 * eighth(rng)) : 0;
        }
        // Half of the blocks keep their last row and column empty.
        for (int m = 0; m < th; ++m)
            for (int n = 0; n < tw; ++n) {
                if (coin(rng))
                    continue;
                for (int j = 0; j < kx; ++j)
                    std::memset(src.scanLine(m * ky + ky - 1) + 4 * (n * kx + j), 0, 4);
                for (int i = 0; i < ky; ++i)
                    std::memset(src.scanLine(m * ky + i) + 4 * (n * kx + kx - 1), 0, 4);
            }
        const QImage want = plainReduce(src, tw, th);
        EXPECT_EQ(firstDifference(reduceBy(ReducerPath::Fastest, src, tw, th), want), "") << kx << "x" << ky;
        EXPECT_EQ(firstDifference(reduceBy(ReducerPath::General, src, tw, th), want), "") << kx << "x" << ky;
    }
}
