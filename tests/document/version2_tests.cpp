#include <gtest/gtest.h>

#include "document/diagramfile.h"
#include "document/documenttestenv.h"
#include "document/integertext.h"
#include "document/intensityreplace.h"
#include "render/volumes.h"
#include "document/templatelibrary.h"

using namespace korvimo;
using test::DocumentEnv;

namespace {

// Answers every template request with twelve volumes of 10 and remembers the
// codes it was asked for; the template itself goes through the open procedure
// like a real library's would.
class FakeLibrary final : public TemplateLibrary {
public:
    explicit FakeLibrary(QString folder) : m_folder(std::move(folder)) {}
    bool openTemplate(const QString& code, DiagramFile& files) override
    {
        codes << code;
        QByteArray bytes = "[**General variables**]\r\nsfactor=1\r\ntitle03=LIB00048\r\n[**Intensities**]\r\n";
        for (int i = 1; i <= 12; ++i)
            bytes += QStringLiteral("%1=10;I;\r\n").arg(i, 4, 10, QLatin1Char('0')).toLatin1();
        const QString temp = m_folder + "/$1_Korvimo.tmp";
        test::writeAll(temp, bytes);
        files.StromenBestandOpenen(temp);
        QFile::remove(temp);
        return true;
    }
    void translateTitles(GeneralVariables& gv) override
    {
        if (gv.title[2] == QLatin1String("LIB00048"))
            gv.title[2] = QStringLiteral("Vertaald");
    }
    QStringList codes;

private:
    QString m_folder;
};

QByteArray v2(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QStringList twelve(const QString& v) { return QStringList(12, v); }

} // namespace

TEST(Document_Version2Tests, TemplateTitlesVolumesAndScaleLine)
{
    // A 21-line file opens its template, sets titles and street names, replaces the twelve
    // volumes in their odd order, and takes the scale line times six; the file keeps its name.
    DocumentEnv e;
    FakeLibrary lib(e.dir.path());
    e.file.setTemplateLibrary(&lib);
    QStringList lines{"210", "234-kruispunt", "Titel", "Sub", "Noord", "Oost", "Zuid", "West"};
    for (int i = 1; i <= 12; ++i)
        lines << QString::number(i * 100);
    lines << QStringLiteral("250");
    const QString p = e.put("oud.kvo", v2(lines));
    ASSERT_EQ(e.file.StromenBestandOpenen(p), OpenResult::Read);
    EXPECT_EQ(lib.codes, QStringList{"011301"});
    const GeneralVariables& g = e.doc.general;
    EXPECT_EQ(g.title[0], QStringLiteral("Titel"));
    EXPECT_EQ(g.title[1], QStringLiteral("Sub"));
    EXPECT_EQ(g.title[2], QStringLiteral("Vertaald"));
    EXPECT_EQ(g.streetname[3], QStringLiteral("West"));
    EXPECT_EQ(g.sfactor, 1500);
    // Line 9 is volume 0003, line 10 is 0002, line 11 is 0001, ... line 20 is 0010.
    EXPECT_EQ(e.doc.intensities[2], QStringLiteral("0003=100;I;"));
    EXPECT_EQ(e.doc.intensities[1], QStringLiteral("0002=200;I;"));
    EXPECT_EQ(e.doc.intensities[0], QStringLiteral("0001=300;I;"));
    EXPECT_EQ(e.doc.intensities[9], QStringLiteral("0010=1200;I;"));
    EXPECT_EQ(e.doc.fileName, p);
    EXPECT_FALSE(e.doc.isModified());
    EXPECT_TRUE(e.messages.entries.isEmpty());
}

TEST(Document_Version2Tests, ScaleFromHighestVolume)
{
    // Without line 21 the scale follows the highest volume: 800 gives round(6.25) x 100 = 600;
    // a non-numeric volume counts as 0; an empty line 2 opens 011400; an unknown type opens none.
    DocumentEnv e;
    FakeLibrary lib(e.dir.path());
    e.file.setTemplateLibrary(&lib);
    QStringList lines{"210", "", "T1", "T2", "S1", "S2", "S3", "S4"};
    lines << twelve("100");
    lines[8] = QStringLiteral("800");
    lines[9] = QStringLiteral("veel");
    ASSERT_EQ(e.file.StromenBestandOpenen(e.put("a.kvo", v2(lines))), OpenResult::Read);
    EXPECT_EQ(lib.codes, QStringList{"011400"});
    EXPECT_EQ(e.doc.general.sfactor, 600);
    EXPECT_EQ(e.doc.intensities[1], QStringLiteral("0002=0;I;"));

    DocumentEnv u;
    FakeLibrary lib2(u.dir.path());
    u.file.setTemplateLibrary(&lib2);
    ASSERT_EQ(u.file.StromenBestandOpenen(u.put("b.kvo", v2({"210", "1234-KRUISPUNT", "Alleen titel"}))),
              OpenResult::Read);
    EXPECT_TRUE(lib2.codes.isEmpty());
    EXPECT_EQ(u.doc.general.title[0], QStringLiteral("Alleen titel"));
    EXPECT_EQ(u.doc.general.title[1], QStringLiteral("Title02"));
    EXPECT_EQ(u.doc.general.sfactor, 1000);
}

TEST(Document_Version2Tests, FirstLineDecidesAndErrorsStopTheWholeReading)
{
    // A current file whose first line is "210" is read as version 2; a malformed scale line and
    // a malformed template both stop the reading with one message.
    DocumentEnv e;
    const QString p = e.put("c.kvo", v2({"210", "[**Script**]", "GRP;1;Frame;"}));
    ASSERT_EQ(e.file.StromenBestandOpenen(p), OpenResult::Read);
    EXPECT_TRUE(e.doc.script.isEmpty());
    EXPECT_EQ(e.doc.general.title[0], QStringLiteral("GRP;1;Frame;"));

    DocumentEnv bad;
    QStringList lines{"210", "x", "", "", "", "", "", ""};
    lines << twelve("1") << QStringLiteral("zes");
    EXPECT_EQ(bad.file.StromenBestandOpenen(bad.put("d.kvo", v2(lines))), OpenResult::Malformed);
    EXPECT_EQ(bad.messages.texts(), QStringList{"'zes' is not a valid integer value"});

    DocumentEnv tmpl;
    class BadLibrary final : public TemplateLibrary {
    public:
        QString folder;
        bool openTemplate(const QString&, DiagramFile& files) override
        {
            const QString t = folder + "/$1_bad.tmp";
            test::writeAll(t, "[**General variables**]\r\nfontsize=groot\r\n");
            files.StromenBestandOpenen(t);
            return true;
        }
    } badLib;
    badLib.folder = tmpl.dir.path();
    tmpl.file.setTemplateLibrary(&badLib);
    bool captioned = false;
    tmpl.file.hooks.setCaption = [&](const QString&) { captioned = true; };
    EXPECT_EQ(tmpl.file.StromenBestandOpenen(tmpl.put("e.kvo", v2({"210", "", "Titel"}))), OpenResult::Malformed);
    EXPECT_EQ(tmpl.messages.texts(), QStringList{"'groot' is not a valid integer value"});
    EXPECT_EQ(tmpl.doc.general.title[0], QStringLiteral("Title01"));
    EXPECT_FALSE(captioned);
}

TEST(Document_Version2Tests, VolumeHelpers)
{
    // IntensiteitVervangen rewrites every matching line whole; the highest volume skips text and
    // inactive lines; the scale rounds halves to even and never reaches 0.
    QStringList ints{"0003=5;I;extra", "*0003 text", "0003=7;V;", "0004=9;I;"};
    EXPECT_EQ(IntensiteitVervangen(ints, "0003", "250"), 2);
    EXPECT_EQ(ints, (QStringList{"0003=250;I;", "*0003 text", "0003=250;I;", "0004=9;I;"}));
    EXPECT_EQ(IntensiteitVervangen(ints, "0099", "1"), 0);

    EXPECT_EQ(highestVolume({"0120=120;I;", "0340=340;I;", "#0001=9999;I;", "*I 5000", "0100=900;V;"}), 340);
    EXPECT_EQ(highestVolume({"* only text"}), -1);
    EXPECT_THROW(highestVolume({"0001=x;I;"}), ConversionError);

    EXPECT_EQ(sfactorForHighestVolume(340), 1500);
    EXPECT_EQ(sfactorForHighestVolume(800), 600);
    EXPECT_EQ(sfactorForHighestVolume(3000), 200);
    EXPECT_EQ(sfactorForHighestVolume(400), 1200); // 12.5 rounds to 12
    EXPECT_EQ(sfactorForHighestVolume(0), 1000);
    EXPECT_EQ(sfactorForHighestVolume(20000), 100);
}
