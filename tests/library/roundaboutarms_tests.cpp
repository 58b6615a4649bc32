// The roundabout templates after the arms wizard has turned their arms: the
// movements round the island must still go round it (true curves), and no
// band may be drawn over the island, whatever the new angles.
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

const char* const kRoundabouts[] = {"020301", "020302", "020303", "020304", "020400"};

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

// A script line that takes a movement round the island: in along arm a's two
// points ... the centre twice ... out along arm b.
bool roundTheIsland(const QString& line, int* from, int* to)
{
    const QStringList f = line.split(QLatin1Char(';'));
    if (f.size() < 6 || f[0] != QLatin1String("ARC") || f[3] != QLatin1String("0001") || f[4] != QLatin1String("0001"))
        return false;
    *from = f[2].mid(2, 1).toInt();
    *to = f[5].mid(2, 1).toInt();
    return true;
}

// The lines the renderer drew, in order, from the intersection check dump.
QStringList drawnLines(const QStringList& checkList)
{
    QStringList out;
    for (qsizetype i = 0; i + 1 < checkList.size(); ++i)
        if (checkList[i].startsWith(QLatin1String("=====")))
            out << checkList[i + 1];
    return out;
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
                env.ctx.view.showIntersections = true;

                Metafile target;
                const RenderOutcome r = MaakMeta(env.doc, env.ctx, target, "EMF", "E");
                ASSERT_TRUE(r.completed) << what << ": " << r.errorText.toStdString();
                EXPECT_EQ(r.brokenLines, 0) << what;
                EXPECT_TRUE(env.messenger.entries.isEmpty()) << what;

                // A movement that turns off across the ring is a true curve: the
                // renderer did not fall back to straight parts or a split for it.
                const QStringList drawn = drawnLines(r.checkList);
                int curves = 0;
                for (qsizetype i = 0; i < drawn.size(); ++i) {
                    int a = 0, b = 0;
                    if (!roundTheIsland(drawn[i], &a, &b) || (a + 2) % 4 + 1 != b)
                        continue;
                    ++curves;
                    const QString next = i + 1 < drawn.size() ? drawn[i + 1] : QString();
                    EXPECT_FALSE(next.startsWith(QLatin1String("LNE;1;0001;")) || next.startsWith(QLatin1String("AR2")))
                        << what << ": " << drawn[i].toStdString();
                }
                EXPECT_GE(curves, 2) << what;

                // One pixel per diagram unit, without the check markers; inside the
                // island only the background and its black outline may show.
                env.ctx.view.showIntersections = false;
                target = Metafile();
                MaakMeta(env.doc, env.ctx, target, "EMF", "E");
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
