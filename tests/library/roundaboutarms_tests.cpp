// The roundabout templates after the arms wizard has turned their arms: no
// band may be drawn over the island, whatever the new angles (that the
// movements still go round it is checked in roundabout_tests.cpp).
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "arms/armswizard.h"
#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "library/libfixture.h"
#include "render/maakmeta.h"

using namespace korvimo;

namespace {

const char* const kRoundabouts[] = {"020301", "020302", "020303", "020304", "020400", "020500", "020600"};

// The x;y of a coordinate line, or of a value line's number.
QStringList fieldsOf(const QStringList& lines, const QString& name)
{
    for (const QString& l : lines)
        if (l.left(4) == name)
            return l.section(QLatin1Char('='), 1).split(QLatin1Char(';'));
    return {};
}

// Turns every arm that carries traffic by its own amount.
void turnArms(DiagramDocument& doc, const std::array<int, 4>& by)
{
    ArmsWizardInput in = armsWizardLoad(doc);
    for (int i = 0; i < 4; ++i)
        in.arms[i].angle += by[i];
    armsWizardApply(doc, in);
}

} // namespace

TEST(Library_RoundaboutArmsTests, TurnedArmsKeepTheRingRoundAndTheIslandClear)
{
    // Each roundabout with its arms turned several ways by the wizard, in both traffic sides.
    // Up to 30 degrees each way: a roundabout laid over its map, not arms on top of each other.
    const std::array<std::array<int, 4>, 5> turns = {{{0, 0, 0, 0}, {25, -20, 15, -30}, {-15, 10, -25, 20},
                                                      {30, 30, 30, 30}, {-20, 15, 20, -15}}};
    for (const char* code : kRoundabouts) {
        for (const auto& by : turns) {
            for (bool left : {false, true}) {
                const std::string what = std::string(code) + " turned " + std::to_string(by[0]) + "/" +
                                         std::to_string(by[1]) + "/" + std::to_string(by[2]) + "/" +
                                         std::to_string(by[3]) + (left ? " left" : "");
                test::LibEnv env;
                ASSERT_TRUE(env.library.OpenBestandUitLib(QLatin1String(code), env.files, left)) << what;
                turnArms(env.doc, by);
                // The ring volumes are written in the island; they are not bands.
                env.doc.general.grp[static_cast<int>(DrawingGroup::IBetween1)] = false;
                Metafile target;
                const RenderOutcome r = MaakMeta(env.doc, env.ctx, target, "EMF", "E");
                ASSERT_TRUE(r.completed) << what << ": " << r.errorText.toStdString();
                EXPECT_EQ(r.brokenLines, 0) << what;
                EXPECT_TRUE(env.messenger.entries.isEmpty()) << what;

                // One pixel per diagram unit; inside the island only the
                // background and its black outline may show.
                const QStringList centre = fieldsOf(env.doc.coordinates, "0001");
                const QStringList island = fieldsOf(env.doc.intensities, "0111");
                ASSERT_GE(centre.size(), 2);
                ASSERT_GE(island.size(), 1);
                const int cx = centre[0].toInt(), cy = centre[1].toInt();
                const double radius = island[0].toDouble() / 10.0 - 2.0;
                const QImage img = renderToImage(target, QSize(target.width() / 10, target.height() / 10));
                int coloured = 0;
                for (int y = int(cy - radius); y <= int(cy + radius); ++y) {
                    for (int x = int(cx - radius); x <= int(cx + radius); ++x) {
                        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius)
                            continue;
                        const QColor c = img.pixelColor(x, y);
                        const int spread = qMax(c.red(), qMax(c.green(), c.blue())) -
                                           qMin(c.red(), qMin(c.green(), c.blue()));
                        coloured += spread > 60;
                    }
                }
                EXPECT_EQ(coloured, 0) << what << ": band colour inside the island";
            }
        }
    }
}
