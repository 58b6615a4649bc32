// The scale legend: a band as wide as its volume in the diagram's scale,
// the volume's text beside it, its own drawing group, and a line that older
// programs skip.
#include <gtest/gtest.h>

#include "document/generalvariables.h"
#include "render/rendertestsupport.h"
#include "render/scriptline.h"

using namespace korvimo;
using rtest::Rig;

namespace {

void legendAt100(Rig& r, const QString& line)
{
    r.doc.coordinates = {"0001=100;100;"};
    r.doc.script = {line};
}

QStringList textsOf(const Rig& r) { return r.drawnOf("TextOut"); }

} // namespace

TEST(Render_LegendTests, BandWidthFollowsTheScaleNotIntmin)
{
    // 500 at sfactor 1000 is 125 units wide and 400 long; intmin 1000 hides flows, never the legend.
    Rig r;
    legendAt100(r, "LEG;1;0001;500;255;40;");
    r.doc.general.intmin = 1000;
    r.render();
    ASSERT_TRUE(r.outcome.completed);
    const QStringList polygons = r.drawnOf("Polygon");
    ASSERT_EQ(polygons.size(), 2);
    EXPECT_EQ(polygons[0], "Polygon 1000,1000 1360,1000 1360,1125 1000,1125");
    EXPECT_EQ(polygons[1], "Polygon 1360,1000 1400,1062 1360,1125");
    ASSERT_EQ(textsOf(r).size(), 1);
    EXPECT_TRUE(textsOf(r)[0].endsWith("\"500 mvt/h\"")) << textsOf(r)[0].toStdString();

    // Twice the scale, twice the width: the legend is the yardstick of every band.
    Rig wide;
    legendAt100(wide, "LEG;1;0001;500;255;40;");
    wide.doc.general.sfactor = 2000;
    wide.render();
    EXPECT_EQ(wide.drawnOf("Polygon").value(0), "Polygon 1000,1000 1360,1000 1360,1250 1000,1250");
}

TEST(Render_LegendTests, TextStandsRightOfTheArrowCentredOnTheBand)
{
    // The text starts 50 units past the arrow point, in the language's unit.
    Rig r;
    legendAt100(r, "LEG;1;0001;1000;0;30;");
    r.ctx.texts.set(QStringLiteral("AA00250"), QStringLiteral("%s veh/h"));
    r.render();
    const QStringList t = textsOf(r);
    ASSERT_EQ(t.size(), 1);
    EXPECT_TRUE(t[0].endsWith("\"1000 veh/h\"")) << t[0].toStdString();
    const int x = t[0].section(' ', 1, 1).section(',', 0, 0).toInt();
    EXPECT_EQ(x, 1000 + 300 + 50);
}

TEST(Render_LegendTests, NothingForNoVolumeOrLengthAndStopsOnMalformedNumbers)
{
    // Volume 0 or length 0 draw nothing; "x" as volume stops the drawing like any integer field.
    for (const char* line : {"LEG;1;0001;0;255;40;", "LEG;1;0001;500;255;0;", "#LEG;1;0001;500;255;40;",
                             "LEG;2;0001;500;255;40;"}) {
        Rig r;
        legendAt100(r, line);
        r.render();
        EXPECT_TRUE(r.outcome.completed) << line;
        EXPECT_TRUE(r.drawn().isEmpty()) << line;
    }
    Rig bad;
    legendAt100(bad, "LEG;1;0001;x;255;40;");
    bad.render();
    EXPECT_FALSE(bad.outcome.completed);
    EXPECT_EQ(bad.messenger.entries.size(), 1);
}

TEST(Render_LegendTests, ItsGroupHidesIt)
{
    // GRP;1;Legend; with grplegend off hides the legend; the next group shows lines again.
    Rig r;
    r.doc.coordinates = {"0001=100;100;"};
    r.doc.script = {"GRP;1;Legend;", "LEG;1;0001;500;255;40;", "GRP;1;Text;", "TXT;1;P;0001;;;0;L;NNN;100;0;T;[\"x\"];"};
    r.doc.general.setGroupVisible(DrawingGroup::Legend, false);
    r.render();
    EXPECT_TRUE(r.drawnOf("Polygon").isEmpty());
    EXPECT_EQ(textsOf(r).size(), 1);
    r.doc.general.setGroupVisible(DrawingGroup::Legend, true);
    r.render();
    EXPECT_EQ(r.drawnOf("Polygon").size(), 2);
}

TEST(Render_LegendTests, LeavesTheTextStateOfTextLinesAlone)
{
    // A text line with no valid alignment keeps the previous text line's "R", not the legend's "L".
    Rig right, withLegend;
    const QStringList script = {"TXT;1;P;0001;;;0;R;YNN;100;0;T;[\"a\"];", "TXT;1;P;0001;;;0;?;YNN;100;0;T;[\"a\"];"};
    right.doc.coordinates = withLegend.doc.coordinates = {"0001=100;100;"};
    right.doc.script = script;
    withLegend.doc.script = {script[0], "LEG;1;0001;500;255;40;", script[1]};
    right.render();
    withLegend.render();
    EXPECT_EQ(textsOf(right).value(1), textsOf(withLegend).value(2));
}

TEST(Render_LegendTests, CodeIsKnownAndOfferedByTheEditor)
{
    EXPECT_EQ(highestElementVersion(u"LEG"), 1);
    EXPECT_TRUE(editorElementCodes().contains("LEG"));
    EXPECT_EQ(composeScriptLine("LEG", {"0001", "500", "Color0002", "40"}), "LEG;1;0001;500;Color0002;40;");
    DrawingGroup g;
    ASSERT_TRUE(drawingGroupFromName("legend", &g));
    EXPECT_EQ(drawingGroupKey(g), "grplegend");
}
