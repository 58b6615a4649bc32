#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "canvas/metafileio.h"
#include "elements_harness.h"
#include "render/furniture.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

QString imgLine(const char* type, const QString& file, int scale)
{
    return QStringLiteral("IMG;1;%1;0001;[\"%2\"];%3;").arg(QLatin1String(type), file).arg(scale);
}

// A small drawing of our own, 120 x 80 units, saved as EMF or WMF.
Metafile smallDrawing(MetafileKind kind)
{
    Metafile m(120, 80, kind);
    MetaCanvas c(m);
    c.setBrushColor(0x0000FF);
    c.rectangle(10, 10, 110, 70);
    return m;
}

} // namespace

TEST(Render_PictureTests, BitmapStretchedByItsScale)
{
    // A 200 x 100 pixel bitmap at scale 500 is drawn 1000 x 500 metafile units from its top-left point.
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(path, "BMP"));

    test::ElementDrawing d;
    d.doc.coordinates = {"0001=30;40;"};
    d.doc.script = {imgLine("BMP", path, 500), imgLine("BMP", path, 1000)};
    d.render();
    const auto pictures = d.records(MetaRecordType::StretchImage);
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_EQ(pictures[0].box, (MetaBox{300, 400, 1300, 900}));
    EXPECT_EQ(pictures[1].box, (MetaBox{300, 400, 2300, 1400})); // one pixel per diagram unit
    ASSERT_TRUE(pictures[0].image());
    EXPECT_EQ(pictures[0].image()->size(), QSize(200, 100));
    EXPECT_TRUE(d.messenger.entries.isEmpty());
}

TEST(Render_PictureTests, MetafilesWrittenByUsAreDrawnAsRecords)
{
    // An .emf and a .wmf of 120 x 80 units at scale 250 are stretch-drawn 300 x 200 units, with their records.
    QTemporaryDir dir;
    const QString emf = dir.filePath("plan.emf"), wmf = dir.filePath("plan.wmf");
    ASSERT_TRUE(writeEmf(smallDrawing(MetafileKind::Emf), emf));
    ASSERT_TRUE(writeWmf(smallDrawing(MetafileKind::Wmf), wmf));

    test::ElementDrawing d;
    d.doc.coordinates = {"0001=10;20;"};
    d.doc.script = {imgLine("WMF", emf, 250), imgLine("WMF", wmf, 250)};
    d.render();
    const auto pictures = d.records(MetaRecordType::StretchMetafile);
    ASSERT_EQ(pictures.size(), 2);
    for (const MetaRecord& p : pictures) {
        EXPECT_EQ(p.box, (MetaBox{100, 200, 400, 400}));
        ASSERT_TRUE(p.picture());
        EXPECT_EQ(p.picture()->width(), 120);
        EXPECT_EQ(p.picture()->height(), 80);
        bool hasRectangle = false;
        for (const MetaRecord& r : p.picture()->records())
            hasRectangle |= r.type == MetaRecordType::Rectangle;
        EXPECT_TRUE(hasRectangle);
    }
}

TEST(Render_PictureTests, MissingFilesAndOtherTypesDrawNothing)
{
    // A missing file draws nothing and says nothing; an unknown type is ignored even for an existing file.
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    QImage(4, 4, QImage::Format_RGB32).save(path, "BMP");
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=30;40;"};
    d.doc.script = {imgLine("BMP", dir.filePath("nowhere.bmp"), 500), imgLine("JPG", path, 500),
                    imgLine("WMF", dir.filePath("nowhere.emf"), 500), imgLine("BMP", dir.path(), 500)};
    d.render();
    EXPECT_TRUE(d.records(MetaRecordType::StretchImage).isEmpty());
    EXPECT_TRUE(d.records(MetaRecordType::StretchMetafile).isEmpty());
    EXPECT_TRUE(d.messenger.entries.isEmpty());
    EXPECT_TRUE(d.outcome.completed);
}

TEST(Render_PictureTests, UnreadableFileStopsTheDrawingWithItsError)
{
    // A file that exists but is no picture of its type reports the reader's error and stops the drawing.
    QTemporaryDir dir;
    const QString bmp = dir.filePath("broken.bmp"), emf = dir.filePath("broken.emf");
    ASSERT_TRUE(test::writeAll(bmp, "this is not a bitmap"));
    ASSERT_TRUE(test::writeAll(emf, QByteArray(300, '\x01')));
    for (const auto& [type, file] : {std::pair{"BMP", bmp}, std::pair{"WMF", emf}}) {
        test::ElementDrawing d;
        d.doc.coordinates = {"0001=30;40;"};
        d.doc.script = {imgLine(type, file, 500), "NTH;1;0001;10;"};
        d.render();
        EXPECT_FALSE(d.outcome.completed) << type;
        ASSERT_EQ(d.messenger.count(RecordingMessenger::Entry::Error), 1) << type;
        EXPECT_TRUE(d.messenger.entries[0].text.contains(file)) << d.messenger.entries[0].text.toStdString();
        EXPECT_TRUE(d.records(MetaRecordType::Polygon).isEmpty()); // nothing after it
    }
    EXPECT_THROW(loadPicture("BMP", bmp), PictureError);
}

TEST(Render_PictureTests, MalformedScaleIsAConversionError)
{
    // The scale must be an integer: "half" stops the drawing with the conversion error.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=30;40;"};
    d.doc.script = {R"(IMG;1;BMP;0001;["x.bmp"];half;)"};
    d.render();
    EXPECT_FALSE(d.outcome.completed);
    EXPECT_EQ(d.messenger.count(RecordingMessenger::Entry::Error), 1);
}
