#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <random>

#include "canvas/metacanvas.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// Little-endian record building for files that other programs write.
struct Bytes {
    QByteArray b;
    Bytes& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    Bytes& u16(uint16_t v)
    {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>(v >> 8));
        return *this;
    }
};

// An EMF record: type, size, then the given 32-bit parameters.
void emfRecord(Bytes& out, uint32_t type, std::initializer_list<int32_t> params)
{
    out.u32(type).u32(8 + 4 * static_cast<uint32_t>(params.size()));
    for (int32_t p : params)
        out.i32(p);
}

// Header of an EMF whose frame is 100 × 50 mm on a 1000 × 500 pixel, 254 × 127 mm device (100 DPI).
Bytes emfHeader()
{
    Bytes h;
    h.u32(1).u32(88);
    h.i32(0).i32(0).i32(999).i32(499);      // bounds
    h.i32(0).i32(0).i32(10000).i32(5000);   // frame, 0.01 mm
    h.u32(0x464D4520).u32(0x10000).u32(0).u32(0);
    h.u16(1).u16(0).u32(0).u32(0).u32(0);   // handles, reserved, description, palette
    h.i32(1000).i32(500).i32(254).i32(127); // device pixels and millimetres
    return h;
}

std::vector<QByteArray> seeds()
{
    Metafile mf(1200, 800);
    mf.setComment(QStringLiteral("Korvimo"), QStringLiteral("fuzz"));
    MetaCanvas c(mf);
    c.setPenWidth(12);
    c.setBrushColor(0x00FF00);
    c.polygon({{0, 0}, {500, 0}, {250, 400}});
    c.polyBezier({{0, 0}, {10, 10}, {20, 10}, {30, 0}});
    c.arc(0, 0, 400, 400, 400, 200, 200, 0);
    c.setFontSize(30);
    c.textOut(100, 100, QStringLiteral("tekst"));
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::blue);
    c.stretchDraw(MetaBox{0, 0, 40, 40}, img);
    QTemporaryDir dir;
    writeEmf(mf, dir.filePath(QStringLiteral("s.emf")));
    mf.setKind(MetafileKind::Wmf);
    writeWmf(mf, dir.filePath(QStringLiteral("s.wmf")));
    return {test::readAll(dir.filePath(QStringLiteral("s.emf"))), test::readAll(dir.filePath(QStringLiteral("s.wmf")))};
}

} // namespace

TEST(Canvas_MetafileReaderTests, MappingModesAndExtentsAreApplied)
{
    // An anisotropic window of 100 units shown in a 1000-pixel viewport on a 100-DPI device lands at 96 DPI.
    Bytes f = emfHeader();
    emfRecord(f, 17, {8});            // SETMAPMODE anisotropic
    emfRecord(f, 9, {100, 50});       // window extent
    emfRecord(f, 11, {1000, 500});    // viewport extent
    emfRecord(f, 43, {10, 10, 20, 20}); // rectangle
    emfRecord(f, 14, {0, 0, 20});     // EOF
    QString error;
    const auto mf = readEmf(f.b, &error);
    ASSERT_TRUE(mf) << error.toStdString();
    EXPECT_EQ(mf->width(), 378); // 100 mm at 96 DPI
    EXPECT_EQ(mf->height(), 189);
    ASSERT_FALSE(mf->records().isEmpty());
    EXPECT_EQ(mf->records().last().dumpLine(), QStringLiteral("Rectangle 96 96 192 192"));
}

TEST(Canvas_MetafileReaderTests, TextAlignmentMovesTheCellNotTheText)
{
    // Text anchored at its baseline centre is recorded by its top-left corner.
    Bytes f = emfHeader();
    emfRecord(f, 22, {0x18 | 6}); // TA_BASELINE | TA_CENTER
    // EXTTEXTOUTW at (500, 250) with "ab" and advances 40 + 60, no rectangle.
    const uint32_t size = 76 + 4 + 8;
    f.u32(84).u32(size);
    f.i32(0).i32(0).i32(0).i32(0).u32(1);
    f.u32(0).u32(0); // scales
    f.i32(500).i32(250).u32(2).u32(76).u32(0).i32(0).i32(0).i32(-1).i32(-1).u32(80);
    f.u16('a').u16('b').i32(40).i32(60);
    emfRecord(f, 14, {0, 0, 20});
    const auto mf = readEmf(f.b);
    ASSERT_TRUE(mf);
    const MetaRecord& text = mf->records().last();
    ASSERT_EQ(text.type, MetaRecordType::TextOut);
    EXPECT_EQ(text.text(), QStringLiteral("ab"));
    // 96/100 of the device position, minus half the advances, minus the ascent.
    EXPECT_EQ(text.points[0].x(), 480 - 48);
    EXPECT_LT(text.points[0].y(), 240);
}

TEST(Canvas_MetafileReaderTests, PlainWmfTakesItsSizeFromTheWindow)
{
    // A WMF without the placeable header is sized by its window extent; unknown records are skipped.
    Bytes f;
    f.u16(1).u16(9).u16(0x300).u32(0).u16(0).u32(0).u16(0);
    f.u32(5).u16(0x020C).u16(200).u16(400);         // SETWINDOWEXT y=200 x=400
    f.u32(4).u16(0x7777).u16(0);                    // unknown: skipped
    f.u32(7).u16(0x041B).u16(50).u16(60).u16(10).u16(20); // RECTANGLE bottom right top left
    f.u32(3).u16(0);
    QString error;
    const auto mf = readMetafile(f.b, &error);
    ASSERT_TRUE(mf) << error.toStdString();
    EXPECT_EQ(mf->kind(), MetafileKind::Wmf);
    EXPECT_EQ(mf->width(), 400);
    EXPECT_EQ(mf->height(), 200);
    EXPECT_EQ(mf->records().last().dumpLine(), QStringLiteral("Rectangle 20 10 60 50"));
}

TEST(Canvas_MetafileReaderTests, BrokenRecordsEndTheReadingButKeepWhatCameBefore)
{
    // A record whose size runs past the end stops the reader; earlier records stay.
    Bytes f = emfHeader();
    emfRecord(f, 43, {0, 0, 10, 10});
    f.u32(43).u32(4000).i32(1);
    const auto mf = readEmf(f.b);
    ASSERT_TRUE(mf);
    EXPECT_EQ(mf->records().size(), 3); // pen, brush, rectangle
}

TEST(Canvas_MetafileReaderTests, RandomAndTruncatedBytesNeverCrash)
{
    // Mutated, truncated and random files either read or fail cleanly, and whatever reads also plays.
    std::mt19937 random(20261209);
    const std::vector<QByteArray> files = seeds();
    ASSERT_EQ(files.size(), 2u);
    int read = 0;
    for (const QByteArray& seed : files) {
        ASSERT_GT(seed.size(), 100);
        for (int round = 0; round < 400; ++round) {
            QByteArray b = seed;
            switch (round % 4) {
            case 0: b.truncate(static_cast<qsizetype>(random() % seed.size())); break;
            case 1:
                for (int k = 0; k < 1 + static_cast<int>(random() % 8); ++k)
                    b[static_cast<qsizetype>(random() % b.size())] = static_cast<char>(random());
                break;
            case 2: {
                // Plausible-looking numbers (huge, negative, zero) over a field.
                const qsizetype at = static_cast<qsizetype>(random() % (b.size() - 4)) & ~qsizetype(3);
                const uint32_t values[] = {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u, 3u};
                const uint32_t v = values[random() % 6];
                for (int i = 0; i < 4; ++i)
                    b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
                break;
            }
            default:
                for (qsizetype i = 40; i < b.size(); ++i)
                    if (random() % 50 == 0)
                        b[i] = static_cast<char>(random());
            }
            QString error;
            const auto mf = readMetafile(b, &error);
            if (mf) {
                ++read;
                renderToImage(*mf, QSize(48, 32));
            } else {
                EXPECT_FALSE(error.isEmpty());
            }
        }
    }
    for (int round = 0; round < 200; ++round) {
        QByteArray b(static_cast<qsizetype>(random() % 600), '\0');
        for (char& ch : b)
            ch = static_cast<char>(random());
        if (round % 2 == 0 && b.size() >= 44) { // make it look like a header
            b[0] = 1;
            b[1] = b[2] = b[3] = 0;
            b[40] = ' ';
            b[41] = 'E';
            b[42] = 'M';
            b[43] = 'F';
        }
        if (const auto mf = readMetafile(b))
            renderToImage(*mf, QSize(16, 16));
    }
    EXPECT_GT(read, 100) << "most mutations still read as pictures";
}

TEST(Canvas_MetafileReaderTests, SavedStatesStockObjectsAndArcDirection)
{
    // A null stock pen clears outlines until the saved state returns; a clockwise arc is the same curve reversed.
    Bytes f = emfHeader();
    emfRecord(f, 33, {});                       // SAVEDC
    emfRecord(f, 37, {int32_t(0x80000008)});   // SELECTOBJECT NULL_PEN
    emfRecord(f, 43, {0, 0, 100, 100});         // rectangle without outline
    emfRecord(f, 34, {-1});                     // RESTOREDC
    emfRecord(f, 43, {0, 0, 100, 100});
    emfRecord(f, 57, {2});                      // SETARCDIRECTION clockwise
    emfRecord(f, 45, {0, 0, 100, 100, 100, 50, 50, 0});
    emfRecord(f, 14, {0, 0, 20});
    const auto mf = readEmf(f.b);
    ASSERT_TRUE(mf);
    QStringList lines = mf->dumpLines().mid(2);
    const QStringList expected{
        "Pen color=0 width=0 clear",
        "Brush color=16777215 solid",
        "Rectangle 0 0 96 96",
        "Pen color=0 width=1",
        "Rectangle 0 0 96 96",
        "Arc 0 0 96 96 start=48,0 end=96,48",
    };
    EXPECT_EQ(lines, expected) << firstDumpDifference(expected, lines).toStdString();
}

TEST(Canvas_MetafileReaderTests, UnknownObjectsAndDanglingHandlesAreIgnored)
{
    // Selecting a handle that was never made, or was deleted, leaves the state as it was.
    Bytes f = emfHeader();
    emfRecord(f, 39, {1, 0, 0x0000FF, 0});     // CREATEBRUSHINDIRECT 1: solid red
    emfRecord(f, 37, {1});
    emfRecord(f, 40, {1});                     // DELETEOBJECT 1
    emfRecord(f, 37, {1});                     // dangling
    emfRecord(f, 37, {77});                    // never made
    emfRecord(f, 37, {int32_t(0x80000063)});   // no such stock object
    emfRecord(f, 42, {0, 0, 10, 10});
    emfRecord(f, 14, {0, 0, 20});
    const auto mf = readEmf(f.b);
    ASSERT_TRUE(mf);
    EXPECT_TRUE(mf->dumpLines().contains(QStringLiteral("Brush color=255 solid")));
    EXPECT_EQ(mf->records().last().type, MetaRecordType::Ellipse);
}
