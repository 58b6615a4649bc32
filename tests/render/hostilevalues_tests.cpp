#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <climits>

#include "canvas/metacanvas.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "output/exportfile.h"
#include "output/pixelexport.h"
#include "rendertestsupport.h"

using namespace korvimo;

namespace {

QString freeText(const QString& text)
{
    return QStringLiteral("TXT;1;R;[0001;0002];C;[0100];[0100];0;C;NNN;100;0;T;[\"%1\"];").arg(text);
}

qsizetype longestText(const Metafile& m)
{
    qsizetype longest = 0;
    for (const MetaRecord& r : m.records())
        if (r.type == MetaRecordType::TextOut)
            longest = std::max(longest, r.text().size());
    return longest;
}

} // namespace

TEST(Render_HostileValueTests, HugeTextsAreCutWithOneWarning)
{
    // Texts of a hundred thousand characters: each is recorded by its first 4,000 characters, one
    // warning says so, and the drawing then plays into every format - EMF, WMF, a picture and a
    // pixel export - without crashing. A text at the bound stays whole and says nothing.
    rtest::Rig rig;
    rig.doc.coordinates = {"0001=10;10;", "0002=200;10;"};
    rig.doc.intensities = {"0100=100;V;"};
    rig.doc.general.diagramwidth = 300;
    rig.doc.general.diagramheight = 100;
    rig.doc.script = {freeText(QString(100000, QLatin1Char('W'))), freeText(QString(100000, QLatin1Char('i')))};
    rig.render(QStringLiteral("EMF"), QStringLiteral("E"));
    EXPECT_TRUE(rig.outcome.completed);
    EXPECT_EQ(longestText(rig.target), MetaCanvas::kMaxTextRunChars);
    EXPECT_EQ(rig.messenger.texts(),
              QStringList{"Een tekst is langer dan 4000 tekens. Alleen de eerste 4000 tekens zijn getekend."});
    QString error;
    EXPECT_FALSE(emfBytes(rig.target, &error).isEmpty()) << error.toStdString();
    EXPECT_FALSE(renderToImage(rig.target, QSize(300, 100)).isNull());
    rig.render(QStringLiteral("WMF"), QStringLiteral("E"));
    EXPECT_FALSE(wmfBytes(rig.target, &error).isEmpty()) << error.toStdString();
    QTemporaryDir dir;
    rig.messenger.clear();
    EXPECT_TRUE(ExportAsPixelFile(rig.doc, rig.ctx, QStringLiteral("PNG"), true, 300, dir.filePath("t.png")));

    // A surrogate pair is never split at the bound.
    rig.doc.script = {freeText(QString(MetaCanvas::kMaxTextRunChars - 1, QLatin1Char('a')) + QStringLiteral("\U0001F600b"))};
    rig.messenger.clear();
    rig.render();
    EXPECT_EQ(longestText(rig.target), MetaCanvas::kMaxTextRunChars - 1);
    rig.doc.script = {freeText(QString(MetaCanvas::kMaxTextRunChars, QLatin1Char('a')))};
    rig.messenger.clear();
    rig.render();
    EXPECT_EQ(longestText(rig.target), MetaCanvas::kMaxTextRunChars);
    EXPECT_TRUE(rig.messenger.entries.isEmpty());
}

TEST(Render_HostileValueTests, ExtremeIntegersNeverOverflow)
{
    // Coordinates at the ends of the integer range, line widths of INT_MIN and INT_MAX, texts
    // placed at and turned around such points, with the coordinate labels shown: the drawing,
    // its metafiles and a picture of it come about without undefined behaviour (the sanitizer
    // stops the test at the first overflow).
    const QStringList points = {"0001=2147483647;-2147483648;", "0002=-2147483648;2147483647;",
                                "0003=2147483647;2147483647;", "0004=0;0;", "0005=-2147483648;-2147483648;"};
    const QStringList script = {
        "TXT;1;R;[0001;0002];C;[0100];[0100];0;C;NNN;100;0;T;[\"a\"];",
        "TXT;1;R;[0003;0005];L;[0101];[0102];2147483647;R;YYY;100;-2147483648;T;[\"b\"];",
        "TXT;1;R;[0004;0001];C;[0102];[0101];-2147483648;C;NNN;2147483647;0;T;[\"c\"];",
        "LNE;1;0001;0002;[0100];[0101];Color0003;N;A;",
        "LNE;1;0005;0003;[0102];[0100];Color0003;Y;A;",
        "CIR;1;0001;[0102];F;",
        "REC;1;0004;0001;Color0002;Color0003;N;",
        "ARC;1;0001;0002;0003;0005;[0100];[0101];[0102];255;A;A;A;",
    };
    for (const int lineWidth : {INT_MIN, INT_MAX, -1, 0}) {
        for (const char* type : {"EMF", "WMF"}) {
            rtest::Rig rig;
            rig.doc.coordinates = points;
            rig.doc.intensities = {"0100=2147483647;V;", "0101=-2147483648;V;", "0102=-2147483647;I;"};
            rig.doc.script = script;
            rig.doc.general.linewidth = lineWidth;
            rig.doc.general.diagramwidth = 200;
            rig.doc.general.diagramheight = 100;
            rig.ctx.view.showCoordinates = true;
            rig.ctx.view.showIntersections = true;
            rig.render(QString::fromLatin1(type), QStringLiteral("E"));
            QString error;
            const QByteArray bytes = QLatin1String(type) == QLatin1String("EMF") ? emfBytes(rig.target, &error)
                                                                                 : wmfBytes(rig.target, &error);
            EXPECT_FALSE(bytes.isEmpty()) << lineWidth << " " << type << ": " << error.toStdString();
            renderToImage(rig.target, QSize(40, 20));
        }
    }
}

TEST(Render_HostileValueTests, WmfSaysOnceWhenCoordinatesDoNotFit)
{
    // A WMF holds 16-bit coordinates. Points far outside the drawing are put on the edge of that
    // range and one warning gives their number; the EMF, with 32 bits, and a drawing that fits
    // say nothing.
    QTemporaryDir dir;
    rtest::Rig rig;
    rig.doc.general.diagramwidth = 200;
    rig.doc.general.diagramheight = 100;
    rig.doc.coordinates = {"0001=10;10;", "0002=150;80;", "0003=2147483647;-2147483648;"};
    rig.doc.intensities = {"0100=100;V;"};
    rig.doc.script = {"LNE;1;0001;0002;[0100];[0100];Color0003;N;A;"};
    ASSERT_TRUE(exportByExtension(rig.doc, rig.ctx, dir.filePath("fits.wmf"), 100, false));
    EXPECT_TRUE(rig.messenger.entries.isEmpty()) << rig.messenger.texts().join('\n').toStdString();

    rig.doc.script << "LNE;1;0001;0003;[0100];[0100];Color0003;N;A;"
                   << "LNE;1;0003;0002;[0100];[0100];Color0003;N;A;";
    ASSERT_TRUE(exportByExtension(rig.doc, rig.ctx, dir.filePath("far.emf"), 100, false));
    EXPECT_TRUE(rig.messenger.entries.isEmpty()) << rig.messenger.texts().join('\n').toStdString();
    ASSERT_TRUE(exportByExtension(rig.doc, rig.ctx, dir.filePath("far.wmf"), 100, false));
    ASSERT_EQ(rig.messenger.count(RecordingMessenger::Entry::Warning), 1);
    EXPECT_TRUE(rig.messenger.texts()[0].endsWith(QStringLiteral("passen niet in een WMF-bestand; ze liggen nu op de rand van het bereik.")))
        << rig.messenger.texts()[0].toStdString();
    // The file is there and reads back.
    EXPECT_TRUE(readMetafileFile(dir.filePath("far.wmf")).has_value());
}
