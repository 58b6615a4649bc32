#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "canvas/metacanvas.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A diagram-like drawing with every record kind a file can hold.
Metafile diagram(MetafileKind kind, bool withBezier = true)
{
    Metafile mf(3000, 2000, kind);
    mf.setComment(QStringLiteral("Korvimo 1.0"), QStringLiteral("Kruispunt"));
    MetaCanvas c(mf);
    c.setBrushClear(true);
    c.setFontName(QStringLiteral("Arial"));
    c.setFontSize(5);
    c.textOut(10, 10, QStringLiteral("Korvimo 1.0 Kruispunt"));
    c.setBrushClear(false);
    c.setPenWidth(20);
    c.setPenColor(0x0000FF);
    c.setBrushColor(0x0000FF);
    c.polygon({{100, 200}, {2000, 200}, {2000, 400}, {100, 400}});
    c.setPenColor(0);
    c.moveTo(100, 200);
    c.lineTo(2000, 200);
    c.polyline({{100, 400}, {2000, 400}, {2100, 300}});
    c.setPenWidth(150);
    c.setPenColor(0x00FF00);
    c.arc(500, 500, 1500, 1500, 1500, 1000, 1000, 500);
    c.setPenWidth(10);
    if (withBezier)
        c.polyBezier({{0, 0}, {100, 0}, {200, 100}, {200, 200}});
    c.setBrushColor(0xFFFF00);
    c.ellipse(1975, 1975, 2025, 2025);
    c.rectangle(2200, 100, 2800, 300);
    c.setBrushClear(true);
    c.setFontSize(100);
    c.setFontColor(0xFF0000);
    c.setFontBold(true);
    c.setFontItalic(true);
    c.setFontRotation(900, 900);
    c.textOut(2500, 1900, QStringLiteral("1234 café"));
    c.setFontRotation(0, 0);
    c.setFontBold(false);
    c.setFontItalic(false);
    c.setFontUnderline(true);
    c.setFontName(QStringLiteral("Courier New"));
    c.textOut(200, 1700, QStringLiteral("Noord"));
    c.setBrushColor(0x00FFFF);
    c.setBrushClear(false);
    c.textOut(200, 1500, QStringLiteral("opaque"));
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(qRgb(10, 20, 30));
    img.setPixel(2, 1, qRgb(200, 100, 50));
    c.stretchDraw(MetaBox{2200, 1000, 2500, 1200}, img);
    return mf;
}

QString tempFile(const QTemporaryDir& dir, const char* name)
{
    return dir.filePath(QString::fromLatin1(name));
}

void expectSameRecords(const Metafile& expected, const Metafile& actual)
{
    EXPECT_EQ(actual.dumpLines(), expected.dumpLines())
        << firstDumpDifference(expected.dumpLines(), actual.dumpLines()).toStdString();
}

} // namespace

TEST(Canvas_MetafileFileTests, EmfWrittenAndReadBackGivesTheSameRecords)
{
    // Every record of a recording survives the trip through an .emf file, comment and size included.
    QTemporaryDir dir;
    const Metafile mf = diagram(MetafileKind::Emf);
    const QString path = tempFile(dir, "d.emf");
    QString error;
    ASSERT_TRUE(writeEmf(mf, path, &error)) << error.toStdString();
    const auto back = readMetafileFile(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    expectSameRecords(mf, *back);
    EXPECT_EQ(*back, mf);
    EXPECT_EQ(emfBytes(mf), test::readAll(path)) << "clipboard bytes are the file's bytes";
}

TEST(Canvas_MetafileFileTests, WmfWrittenAndReadBackGivesTheSameRecords)
{
    // A placeable WMF keeps every record; Béziers come back as the polyline GDI would record.
    QTemporaryDir dir;
    const Metafile mf = diagram(MetafileKind::Wmf, false);
    const QString path = tempFile(dir, "d.wmf");
    QString error;
    ASSERT_TRUE(writeWmf(mf, path, &error)) << error.toStdString();
    const QByteArray bytes = test::readAll(path);
    ASSERT_GT(bytes.size(), 22);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD7);
    auto back = readMetafile(bytes, &error);
    ASSERT_TRUE(back) << error.toStdString();
    Metafile expected = mf;
    expected.setComment({}, {}); // a WMF has no description
    expectSameRecords(expected, *back);

    Metafile curve(100, 100, MetafileKind::Wmf);
    MetaCanvas(curve).polyBezier({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    ASSERT_TRUE(writeWmf(curve, path, &error));
    back = readMetafileFile(path, &error);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->records().size(), 2);
    const MetaRecord& line = back->records()[1];
    EXPECT_EQ(line.type, MetaRecordType::Polyline);
    EXPECT_GE(line.points.size(), 5);
    EXPECT_EQ(line.points.first(), QPoint(0, 0));
    EXPECT_EQ(line.points.last(), QPoint(0, 100));
}

TEST(Canvas_MetafileFileTests, LargeWmfIsScaledToSixteenBitsAndKeepsItsSize)
{
    // A 40000-unit drawing does not fit 16 bits: coordinates are halved, the picture size stays.
    QTemporaryDir dir;
    Metafile mf(40000, 20000, MetafileKind::Wmf);
    MetaCanvas c(mf);
    c.setPenWidth(20);
    c.moveTo(0, 0);
    c.lineTo(39998, 19998);
    const QString path = tempFile(dir, "big.wmf");
    QString error;
    ASSERT_TRUE(writeWmf(mf, path, &error)) << error.toStdString();
    const auto back = readMetafileFile(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->width(), 40000);
    EXPECT_EQ(back->height(), 20000);
    expectSameRecords(mf, *back);
}

TEST(Canvas_MetafileFileTests, EmbeddedPicturesAreWrittenAsTheirRecords)
{
    // A stretch-drawn metafile is written as its own records, mapped into its box, and draws the same.
    Metafile logo(100, 100);
    {
        MetaCanvas c(logo);
        c.setPenWidth(0);
        c.setBrushColor(0xFF0000);
        c.rectangle(0, 0, 100, 50);
    }
    Metafile mf(1000, 1000);
    MetaCanvas c(mf);
    c.setPenColor(0x0000FF);
    c.setPenWidth(4);
    c.moveTo(0, 0);
    c.stretchDraw(MetaBox{200, 200, 400, 600}, logo);
    c.lineTo(1000, 1000);
    const Metafile flat = inlinePictures(mf);
    QStringList lines = flat.dumpLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Rectangle 200 200 400 400")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Pen color=0 width=0"))) << "inner pen, unscaled width 0";
    EXPECT_EQ(renderToImage(flat, QSize(200, 200)), renderToImage(mf, QSize(200, 200)));

    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(writeEmf(mf, tempFile(dir, "n.emf"), &error));
    const auto back = readMetafileFile(tempFile(dir, "n.emf"), &error);
    ASSERT_TRUE(back);
    EXPECT_EQ(renderToImage(*back, QSize(200, 200)), renderToImage(mf, QSize(200, 200)));
}

TEST(Canvas_MetafileFileTests, FailedWritesLeaveTheOldFileAndNoDebris)
{
    // Writing into a missing folder fails with a reason; an empty drawing never replaces a good file.
    QTemporaryDir dir;
    const Metafile mf = diagram(MetafileKind::Emf);
    QString error;
    EXPECT_FALSE(writeEmf(mf, tempFile(dir, "missing/d.emf"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeWmf(mf, tempFile(dir, "missing/d.wmf"), &error));

    const QString path = tempFile(dir, "keep.emf");
    ASSERT_TRUE(writeMetafile(mf, path, &error));
    const QByteArray before = test::readAll(path);
    EXPECT_FALSE(writeMetafile(Metafile(), path, &error));
    EXPECT_EQ(test::readAll(path), before);
    EXPECT_FALSE(writeEmf(mf, dir.path(), &error)) << "a folder is not a file";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary files left";
}

TEST(Canvas_MetafileFileTests, ReadersRejectWhatIsNotAMetafile)
{
    // Other files and broken headers give a message, not a picture.
    QString error;
    EXPECT_FALSE(readMetafile(QByteArray("GIF89a........................................"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readMetafile(QByteArray(), &error));
    EXPECT_FALSE(readMetafileFile(QStringLiteral("/no/such/file.emf"), &error));
    EXPECT_FALSE(readEmf(QByteArray(100, '\0'), &error));
    EXPECT_FALSE(readWmf(QByteArray(100, '\0'), &error));
}

TEST(Canvas_MetafileFileTests, SampleFilesForViewing)
{
    // With KORVIMO_CANVAS_OUT set, writes the sample drawing as EMF, WMF and PNG for other viewers.
    const QString out = qEnvironmentVariable("KORVIMO_CANVAS_OUT");
    if (out.isEmpty())
        GTEST_SKIP() << "KORVIMO_CANVAS_OUT not set";
    QDir().mkpath(out);
    const Metafile emf = diagram(MetafileKind::Emf);
    const Metafile wmf = diagram(MetafileKind::Wmf);
    QString error;
    ASSERT_TRUE(writeEmf(emf, out + "/sample.emf", &error));
    ASSERT_TRUE(writeWmf(wmf, out + "/sample.wmf", &error));
    ASSERT_TRUE(renderToImage(emf, QSize(750, 500), true).save(out + "/sample-qt.png"));
    ASSERT_TRUE(writeSvg(emf, out + "/sample.svg", &error));
    ASSERT_TRUE(writePdf(emf, out + "/sample.pdf", &error));
    test::writeAll(out + "/sample-dump.txt", emf.dump().toUtf8());
    test::writeAll(out + "/sample-emf-back.txt", readMetafileFile(out + "/sample.emf")->dump().toUtf8());
    test::writeAll(out + "/sample-wmf-back.txt", readMetafileFile(out + "/sample.wmf")->dump().toUtf8());
}

TEST(Canvas_MetafileFileTests, WmfTextIsWindows1252AndEmfTextIsUnicode)
{
    // The euro sign and accents survive a WMF; characters outside the code page become "?"; EMF keeps them all.
    const QString text = QStringLiteral("€ café Ω");
    QTemporaryDir dir;
    for (MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        Metafile mf(500, 100, kind);
        MetaCanvas(mf).textOut(10, 10, text);
        const QString path = dir.filePath(kind == MetafileKind::Wmf ? "t.wmf" : "t.emf");
        ASSERT_TRUE(writeMetafile(mf, path));
        const auto back = readMetafileFile(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->records().last().text(),
                  kind == MetafileKind::Wmf ? QStringLiteral("€ café ?") : text);
    }
}

TEST(Canvas_MetafileFileTests, ReplacingAFileKeepsItsPermissions)
{
    // The new file takes the place and the permissions of the old one.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.emf"));
    ASSERT_TRUE(test::writeAll(path, "old"));
    const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, perms));
    ASSERT_TRUE(writeEmf(diagram(MetafileKind::Emf), path));
    const auto ownerGroupOther = QFileDevice::Permissions(0x7077); // not the "user" bits Qt adds
    EXPECT_EQ(QFileInfo(path).permissions() & ownerGroupOther, perms);
    EXPECT_TRUE(test::readAll(path).mid(40, 4) == " EMF");
}

TEST(Canvas_MetafileFileTests, PicturesInsidePicturesAreMappedThroughEveryLevel)
{
    // A picture inside a picture inside the drawing lands in the box of the box; wide pens scale with it.
    Metafile inner(10, 10);
    {
        MetaCanvas c(inner);
        c.setPenWidth(4);
        c.moveTo(0, 0);
        c.lineTo(10, 10);
    }
    Metafile middle(100, 100);
    MetaCanvas(middle).stretchDraw(MetaBox{50, 50, 100, 100}, inner);
    Metafile outer(1000, 1000);
    MetaCanvas(outer).stretchDraw(MetaBox{0, 0, 200, 200}, middle);
    const QStringList lines = inlinePictures(outer).dumpLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("MoveTo 100,100")));
    EXPECT_TRUE(lines.contains(QStringLiteral("LineTo 200,200")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Pen color=0 width=40")));
    for (const QString& l : lines)
        EXPECT_FALSE(l.startsWith(QStringLiteral("StretchMetafile")));
}
