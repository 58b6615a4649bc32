// Vehicle classes: the choice's syntax, the weighted sum and its rounding,
// the share labels, and the same data through the OD, CSV and request
// readers giving the same diagram.
#include <gtest/gtest.h>

#include "document/vehicleclasses.h"
#include "library/libfixture.h"

using namespace korvimo;

namespace {

// Diagram arms 1..4 at 0, 90, 180, 270; volume a->b of class c.
struct Count {
    int mvt[5][5] = {};
    int vra[5][5] = {};
    Count()
    {
        for (int a = 1; a <= 4; ++a)
            for (int b = 1; b <= 4; ++b)
                if (a != b) {
                    mvt[a][b] = 100 * a + 10 * b;
                    vra[a][b] = a + 3 * b;
                }
        vra[1][2] = 80;
        mvt[1][2] = 400;
    }
    int total(int a, int b) const { return mvt[a][b] + vra[a][b]; }
};

// File arm i of a four-arm OD file is diagram arm 1, 4, 3, 2.
int diagramArm(int fileArm) { return fileArm == 1 ? 1 : 6 - fileArm; }

QStringList odArmLines(const Count& c, int which, bool csv)
{
    QStringList out;
    for (int i = 1; i <= 4; ++i) {
        const int a = diagramArm(i);
        QStringList cells = {QString("A%1").arg(a), QString::number(90 * (a - 1)), QString("Street %1").arg(a)};
        for (int j = 1; j <= 4; ++j) {
            const int b = diagramArm(j);
            cells << (a == b ? QString() : QString::number(which == 0 ? c.total(a, b) : which == 1 ? c.mvt[a][b] : c.vra[a][b]));
        }
        if (csv) {
            out << cells.join(';');
        } else {
            QString l = cells[0].leftJustified(5) + cells[1].leftJustified(3) + cells[2].leftJustified(20);
            for (int j = 3; j < 7; ++j)
                l += cells[j].rightJustified(7);
            out << l;
        }
    }
    return out;
}

QStringList odFile(const Count& c, bool csv)
{
    QStringList l = {csv ? "Spits;;" : "Spits", csv ? "K001;4;Plein" : "K001 4Plein"};
    l += odArmLines(c, 0, csv);
    l << (csv ? "*MVT;;" : "*MVT");
    l += odArmLines(c, 1, csv);
    l << (csv ? "*VRA" : "*VRA");
    l += odArmLines(c, 2, csv);
    return l;
}

QStringList request(const Count& c, const QString& draw, const QString& share)
{
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011400"};
    if (!draw.isEmpty())
        r << "DrawClasses=" + draw;
    if (!share.isEmpty())
        r << "ShareClass=" + share;
    r << "[**General variables**]" << "title01=Plein" << "title02=Spits";
    r << "[**Arms**]" << "ARMNO;ANGLE;NAME";
    for (int a = 1; a <= 4; ++a)
        r << QString("%1;%2;\"Street %1\"").arg(a).arg(90 * (a - 1));
    r << "[**OD**]" << "ARMFROM;ARMTO;VOLUME;VOLUME_MVT;volume_vra";
    for (int a = 1; a <= 4; ++a)
        for (int b = 1; b <= 4; ++b)
            if (a != b)
                r << QString("%1;%2;%3;%4;%5").arg(a).arg(b).arg(c.total(a, b)).arg(c.mvt[a][b]).arg(c.vra[a][b]);
    return r;
}

} // namespace

TEST(Analysis_VehicleClassTests, ChoiceSyntax)
{
    // One class, a weighted sum in any case with blanks, nothing; and what is refused.
    ClassChoice c;
    QString bad;
    ASSERT_TRUE(parseClassChoice("VRA", "", &c, &bad));
    ASSERT_EQ(c.terms.size(), 1);
    EXPECT_EQ(c.terms[0].name, "VRA");
    EXPECT_EQ(c.terms[0].factor, 1.0);
    ASSERT_TRUE(parseClassChoice("mvt + vra*2.5", " vra ", &c, &bad));
    ASSERT_EQ(c.terms.size(), 2);
    EXPECT_EQ(c.terms[1].name, "VRA");
    EXPECT_EQ(c.terms[1].factor, 2.5);
    EXPECT_EQ(c.shareClass, "VRA");
    ASSERT_TRUE(parseClassChoice("", "", &c, &bad));
    EXPECT_TRUE(c.isEmpty());
    for (const char* text : {"MVT*", "MVT*2,0", "MV T", "VRA*2000", "MVT+", "*2", "VRA*-1"}) {
        EXPECT_FALSE(parseClassChoice(text, "", &c, &bad)) << text;
        EXPECT_FALSE(bad.isEmpty()) << text;
    }
    EXPECT_FALSE(parseClassChoice("MVT", "V-RA", &c, &bad));
}

TEST(Analysis_VehicleClassTests, WeightedSumRoundsEachMovementHalfToEven)
{
    // 3 + 1 x 2.5 = 5.5 gives 6, 2 + 1 x 2.5 = 4.5 gives 4; a class the movement lacks counts 0.
    ClassVolumes v;
    v.add("mvt", "0001", 3);
    v.add("VRA", "0001", 1);
    v.add("MVT", "0002", 2);
    v.add("vra", "0002", 1);
    v.add("MVT", "0003", 7);
    ClassChoice c;
    QString bad;
    ASSERT_TRUE(parseClassChoice("MVT+VRA*2.5", "", &c, &bad));
    EXPECT_EQ(v.drawn(c, "0001"), 6);
    EXPECT_EQ(v.drawn(c, "0002"), 4);
    EXPECT_EQ(v.drawn(c, "0003"), 7);
    ASSERT_TRUE(parseClassChoice("VRA", "", &c, &bad));
    EXPECT_EQ(v.drawn(c, "0001"), 1);
    EXPECT_EQ(v.classes(), (QStringList{"MVT", "VRA"}));
}

TEST(Analysis_VehicleClassTests, SameDataThroughAllThreeReadersGivesTheSameDiagram)
{
    // MVT + VRA x 2 with the heavy share: the movement 1->2 of 400 cars and 80 lorries is drawn as
    // 560 and labelled "560 (17 %)" by the OD file, the CSV file and the request alike.
    const Count c;
    test::LibEnv od, csv, req;
    for (test::LibEnv* e : {&od, &csv}) {
        e->ctx.settings.volumeClasses = "MVT+VRA*2";
        e->ctx.settings.volumeShareClass = "VRA";
    }
    od.files.StromenBestandOpenen(od.write("k.in", test::crlf(odFile(c, false))));
    csv.files.StromenBestandOpenen(csv.write("k.csv", test::crlf(odFile(c, true))));
    req.files.StromenBestandOpenen(req.write("k.kvoimp", test::crlf(request(c, "MVT+VRA*2", "VRA"))));
    for (test::LibEnv* e : {&od, &csv, &req})
        EXPECT_TRUE(e->messenger.entries.isEmpty()) << e->messenger.texts().join('\n').toStdString();

    EXPECT_EQ(od.volume("0003"), 560); // arm 1 to arm 2
    EXPECT_EQ(od.volume("0001"), c.mvt[1][4] + 2 * c.vra[1][4]);
    EXPECT_EQ(od.doc.intensities, csv.doc.intensities);
    EXPECT_EQ(od.doc.intensities, req.doc.intensities);
    EXPECT_EQ(od.doc.script, csv.doc.script);
    EXPECT_EQ(od.doc.script, req.doc.script);
    EXPECT_EQ(od.doc.coordinates, req.doc.coordinates);
    EXPECT_EQ(od.doc.general.sfactor, req.doc.general.sfactor);
    EXPECT_TRUE(od.doc.script.join('\n').contains("T;[\"560 (17 %)\"];")) << od.doc.script.join('\n').toStdString();
    // Totals keep their plain, live number.
    EXPECT_TRUE(od.doc.script.join('\n').contains(";I;[0001+0002+0003];"));
}

TEST(Analysis_VehicleClassTests, WithoutAChoiceFilesDrawWhatTheyAlwaysDrew)
{
    // The arm lines (OD, CSV) and VOLUME (request) stay what is drawn; the labels stay volume labels.
    const Count c;
    test::LibEnv od, req;
    od.files.StromenBestandOpenen(od.write("k.in", test::crlf(odFile(c, false))));
    req.files.StromenBestandOpenen(req.write("k.kvoimp", test::crlf(request(c, "", ""))));
    EXPECT_EQ(od.volume("0003"), 480);
    EXPECT_EQ(od.doc.intensities, req.doc.intensities);
    EXPECT_FALSE(od.doc.script.join('\n').contains("T;[\"480"));
    EXPECT_TRUE(od.messenger.entries.isEmpty());

    // One class alone: only the lorries, and the share of a class without a weighted sum.
    test::LibEnv heavy;
    heavy.files.StromenBestandOpenen(heavy.write("h.kvoimp", test::crlf(request(c, "vra", ""))));
    EXPECT_EQ(heavy.volume("0003"), 80);
    test::LibEnv share;
    share.files.StromenBestandOpenen(share.write("s.kvoimp", test::crlf(request(c, "", "VRA"))));
    EXPECT_EQ(share.volume("0003"), 480);
    EXPECT_TRUE(share.doc.script.join('\n').contains("T;[\"480 (17 %)\"];"));
}

TEST(Analysis_VehicleClassTests, MissingClassOrBadChoiceIsAClearMessage)
{
    // FIE is in no file: a message naming the class, the file and the classes it has; the file's
    // own volumes are drawn. A choice that is no choice names the offending part.
    const Count c;
    test::LibEnv od;
    od.ctx.settings.volumeClasses = "MVT+FIE";
    od.files.StromenBestandOpenen(od.write("k.in", test::crlf(odFile(c, false))));
    ASSERT_EQ(od.messenger.count(RecordingMessenger::Entry::Error), 1);
    const QString m = od.messenger.texts().value(0);
    EXPECT_TRUE(m.contains("FIE") && m.contains("k.in") && m.contains("MVT, VRA")) << m.toStdString();
    EXPECT_EQ(od.volume("0003"), 480);

    test::LibEnv csv;
    csv.ctx.settings.volumeClasses = "VRA";
    QStringList plain = odFile(c, true).mid(0, 6); // no class blocks at all
    csv.files.StromenBestandOpenen(csv.write("plain.csv", test::crlf(plain)));
    ASSERT_EQ(csv.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(csv.messenger.texts().value(0).contains("plain.csv")) << csv.messenger.texts().value(0).toStdString();

    test::LibEnv req;
    req.files.StromenBestandOpenen(req.write("b.kvoimp", test::crlf(request(c, "MVT*2,5", ""))));
    ASSERT_EQ(req.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(req.messenger.texts().value(0).contains("MVT*2,5"));
    EXPECT_EQ(req.volume("0003"), 480);
}
