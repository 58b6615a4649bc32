// Comparison diagrams: widths from |scenario - base|, colours by sign,
// signed labels and totals, one-sided movements, and the refusals.
#include <gtest/gtest.h>

#include "document/comparison.h"
#include "i18n/languagetexts.h"
#include "canvas/metafile.h"
#include "render/maakmeta.h"
#include "settings/programsettings.h"
#include "library/libfixture.h"

using namespace korvimo;

namespace {

// Two movements, their labels and the total over both.
DocumentContent twoMovements(const QString& v1, const QString& v2)
{
    DocumentContent c;
    c.script = {"GRP;1;Diagram1;",
                "LNE;1;0011;0012;[0100];[0001];Color0005;N;A;",
                "ARC;1;0012;0011;0041;0042;[0100];[0100];[0002];Color0006;A;A;A;",
                "LNE;1;0011;0012;[0100];[0107];Color0014;N;N;",
                "*a comment with I;[0001];",
                "#TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;I;[0001];",
                "TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;I;[0001];",
                "TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;I;[0002];",
                "TXT;1;R;[0011;0012];C;[0100];[0100];0;C;YNN;70;0;I;[0001+0002];"};
    c.coordinates = {"0011=10;10;", "0012=200;10;", "0041=10;200;", "0042=10;300;"};
    c.intensities = {"*volumes", "0001=" + v1 + ";I;", "0002=" + v2 + ";I;", "0100=20;V;", "0107=15;V;"};
    return c;
}

ComparisonOutcome compare(const DocumentContent& base, const DocumentContent& scenario, DocumentContent& out,
                          ComparisonOptions options = {})
{
    const LanguageTexts texts;
    return compareDiagrams(base, scenario, options, texts, "base.in", "plan.in", out);
}

} // namespace

TEST(Analysis_ComparisonTests, ChangeLabelsCarryTheirSignAndOptionalPercentage)
{
    // "+120", "-40"; 0 only when asked; percentages of the base, halves to even; none on a base of 0.
    ComparisonOptions o;
    EXPECT_EQ(changeLabel(120, 480, o), "+120");
    EXPECT_EQ(changeLabel(-40, 400, o), "-40");
    EXPECT_EQ(changeLabel(0, 400, o), "");
    o.zeroLabels = true;
    EXPECT_EQ(changeLabel(0, 400, o), "0");
    o.percentages = true;
    EXPECT_EQ(changeLabel(120, 480, o), "+120 (+25 %)");
    EXPECT_EQ(changeLabel(-40, 400, o), "-40 (-10 %)");
    EXPECT_EQ(changeLabel(1, 8, o), "+1 (+12 %)");  // 12.5 to the even 12
    EXPECT_EQ(changeLabel(3, 8, o), "+3 (+38 %)");  // 37.5 to the even 38
    EXPECT_EQ(changeLabel(50, 0, o), "+50");        // a new movement has no percentage
    EXPECT_EQ(changeLabel(0, 400, o), "0 (0 %)");
}

TEST(Analysis_ComparisonTests, WidthsColoursLabelsAndTotalsFollowTheChange)
{
    // 100 -> 220 is +120 in the increase colour, 300 -> 260 is -40 in the decrease colour; the
    // total label shows the change of the total (+80); values, comments and inactive lines stay.
    DocumentContent out;
    ComparisonOptions o;
    o.increaseColour = 3;
    o.decreaseColour = 9;
    const DocumentContent base = twoMovements("100", "300");
    ASSERT_TRUE(compare(base, twoMovements("220", "260"), out, o).ok);
    EXPECT_EQ(out.intensities, (QStringList{"*volumes", "0001=120;I;", "0002=40;I;", "0100=20;V;", "0107=15;V;"}));
    EXPECT_EQ(out.script[1], "LNE;1;0011;0012;[0100];[0001];Color0003;N;A;");
    EXPECT_EQ(out.script[2], "ARC;1;0012;0011;0041;0042;[0100];[0100];[0002];Color0009;A;A;A;");
    EXPECT_EQ(out.script[3], base.script[3]); // a value width is no flow
    EXPECT_EQ(out.script[4], base.script[4]);
    EXPECT_EQ(out.script[5], base.script[5]);
    EXPECT_EQ(out.script[6], "TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;T;[\"+120\"];");
    EXPECT_EQ(out.script[7], "TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;T;[\"-40\"];");
    EXPECT_EQ(out.script[8], "TXT;1;R;[0011;0012];C;[0100];[0100];0;C;YNN;70;0;T;[\"+80\"];");
    EXPECT_EQ(out.general.intmin, 1);
    EXPECT_EQ(out.general.sfactor, 4200); // 5000 / 120 = 41.7, rounded 42
    EXPECT_EQ(out.coordinates, base.coordinates);
    ASSERT_FALSE(out.notes.isEmpty());
    EXPECT_TRUE(out.notes.last().contains("plan.in") && out.notes.last().contains("base.in"));

    // With percentages the total's base is the sum of the base volumes: +80 of 400.
    o.percentages = true;
    ASSERT_TRUE(compare(base, twoMovements("220", "260"), out, o).ok);
    EXPECT_TRUE(out.script[8].endsWith("T;[\"+80 (+20 %)\"];")) << out.script[8].toStdString();
}

TEST(Analysis_ComparisonTests, DrawnBandsAreAsWideAsTheChange)
{
    // The result draws like any diagram: the +120 band is sfactor x 120 / 4000 wide, in the
    // increase colour; the movement without change draws no band and no label.
    DocumentContent out;
    DocumentContent base = twoMovements("100", "300");
    base.general.color[0] = 4242;
    ASSERT_TRUE(compare(base, twoMovements("220", "300"), out).ok);
    RecordingMessenger messenger;
    ProgramContext ctx;
    ctx.messenger = &messenger;
    DiagramDocument doc;
    doc.restoreContent(out);
    Metafile target;
    MaakMeta(doc, ctx, target, QStringLiteral("EMF"), QStringLiteral("E"));
    const QString dump = target.dump();
    // LNE east from (100,100) with offset 20: edge a at y 120, edge b 120 + 4200 x 120 / 4000 = 246.
    EXPECT_TRUE(dump.contains("Polygon 100,120 1960,120 1960,246 100,246")) << dump.toStdString();
    EXPECT_TRUE(dump.contains("Brush color=4242 solid"));
    EXPECT_TRUE(dump.contains("\"+120\""));
    EXPECT_FALSE(dump.contains("\"0\""));
    // The changed band and its arrow head, and the band of constant width; the unchanged arc is gone.
    EXPECT_EQ(dump.count("Polygon"), 3) << dump.toStdString();
}

TEST(Analysis_ComparisonTests, MovementsOfOneSetOnlyCountAsZeroInTheOther)
{
    // 0003 only in the scenario is appended with its volume; 0002 only in the base falls to 0.
    DocumentContent base = twoMovements("100", "300");
    DocumentContent scenario = twoMovements("100", "300");
    scenario.intensities.removeAt(2);
    scenario.intensities.append("0003=50;I;");
    base.intensities.append("#0003=999;I;");
    DocumentContent out;
    ASSERT_TRUE(compare(base, scenario, out).ok);
    EXPECT_TRUE(out.intensities.contains("0002=300;I;"));
    EXPECT_TRUE(out.intensities.contains("#0003=999;I;"));
    EXPECT_EQ(out.intensities.last(), "0003=50;I;");
    EXPECT_EQ(out.script[2].section(';', 9, 9), "Color0002");
    EXPECT_EQ(out.script[7], "TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;T;[\"-300\"];");
}

TEST(Analysis_ComparisonTests, RefusesWhatCannotBeCompared)
{
    // Both sets without a volume above 0, two different bases, a malformed volume: a message each,
    // and the result is left as it was.
    DocumentContent out;
    out.notes = {"untouched"};
    ComparisonOutcome r = compare(twoMovements("0", "0"), twoMovements("0", "0"), out);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("base.in") && r.message.contains("plan.in")) << r.message.toStdString();

    DocumentContent other = twoMovements("1", "2");
    other.script.removeLast();
    r = compare(twoMovements("1", "2"), other, out);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message, compare(twoMovements("0", "0"), twoMovements("0", "0"), out).message);

    r = compare(twoMovements("1", "2"), twoMovements("x1", "2"), out);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("x1")) << r.message.toStdString();
    EXPECT_EQ(out.notes, QStringList{"untouched"});

    // A twin whose labels became texts and whose colours changed is still the same base; a band of
    // another width expression is not.
    DocumentContent twin = twoMovements("5", "6");
    twin.script[6] = "TXT;1;P;0011;[0100];[0100];0;L;NNN;60;0;T;[\"5 (20 %)\"];";
    twin.script[1].replace("Color0005", "Color0001");
    EXPECT_TRUE(compare(twoMovements("1", "2"), twin, out).ok);
    twin.script[1].replace("[0001]", "[0002]");
    EXPECT_FALSE(compare(twoMovements("1", "2"), twin, out).ok);

    // One set empty and the other not is a comparison: everything is new.
    ASSERT_TRUE(compare(twoMovements("0", "0"), twoMovements("5", "0"), out).ok);
    EXPECT_TRUE(out.intensities.contains("0001=5;I;"));
}

TEST(Analysis_ComparisonTests, ColoursComeFromTheSettings)
{
    // Colour numbers outside 1..16 fall back to the defaults (1 up, 2 down).
    ProgramSettings s;
    s.compareIncreaseColor = 7;
    s.compareDecreaseColor = 17;
    s.comparePercentages = true;
    const ComparisonOptions o = ComparisonOptions::fromSettings(s);
    EXPECT_EQ(o.increaseColour, 7);
    EXPECT_EQ(o.decreaseColour, 2);
    EXPECT_TRUE(o.percentages);
    EXPECT_FALSE(o.zeroLabels);
}
