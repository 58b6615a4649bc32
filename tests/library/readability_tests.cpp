// Every template with its arms turned by the wizard: the crossing stays in
// the picture, no band folds back on itself, no text reads upside down, and
// the street names stay clear of the bands. Checked on the records.
#include <gtest/gtest.h>

#include <QLineF>
#include <QRandomGenerator>

#include "arms/armsfinish.h"
#include "arms/armswizard.h"
#include "arms/drawnshapes.h"
#include "canvas/metafile.h"
#include "canvas/textmetrics.h"
#include "library/libfixture.h"
#include "render/maakmeta.h"
#include "render/textelement.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// Every template turned by every 15 degrees; KORVIMO_SWEEP_STEP=N turns each by every N degrees instead.
const int kStep = qEnvironmentVariableIntValue("KORVIMO_SWEEP_STEP") > 0 ? qEnvironmentVariableIntValue("KORVIMO_SWEEP_STEP") : 15;

const char* const kCodes[] = {"011301", "011302", "011303", "011304", "011400", "010500", "010600", "010700",
                              "010800", "020301", "020302", "020303", "020304", "020400", "020500", "020600"};

// The template as the library opens it, kept to start every turn from.
struct Opened {
    test::LibEnv env;
    GeneralVariables general;
    QStringList coordinates;

    explicit Opened(const char* code)
    {
        EXPECT_TRUE(env.library.OpenBestandUitLib(QLatin1String(code), env.files, false)) << code;
        general = env.doc.general;
        coordinates = env.doc.coordinates;
    }

    // The arms at these angles (one per defined arm, in order), as an import puts them in.
    void turn(const QList<int>& angles)
    {
        env.doc.general = general;
        env.doc.coordinates = coordinates;
        test::turnArms(env, angles);
    }

    QList<int> angles() const
    {
        QList<int> out;
        for (const QString& def : general.arm)
            if (!def.isEmpty())
                out << def.section(QLatin1Char(';'), 2).toInt();
        return out;
    }

    DrawnShapes draw(bool furniture = true)
    {
        const auto saved = env.doc.general.grp;
        if (!furniture) {
            for (DrawingGroup g : {DrawingGroup::Frame, DrawingGroup::Background, DrawingGroup::Logo,
                                   DrawingGroup::ITotal, DrawingGroup::Text, DrawingGroup::Filename,
                                   DrawingGroup::North})
                env.doc.general.setGroupVisible(g, false);
        }
        Metafile target;
        const RenderOutcome r = MaakMeta(env.doc, env.ctx, target, "EMF", "E");
        env.doc.general.grp = saved;
        EXPECT_TRUE(r.completed) << r.errorText.toStdString();
        return drawnShapes(target, env.doc.general.linewidth, metrics);
    }

    TextMetrics metrics;
};

bool isStreetName(const GeneralVariables& g, const QString& text)
{
    return !text.isEmpty() && std::find(g.streetname.begin(), g.streetname.end(), text) != g.streetname.end();
}

// The checks every turned template must pass; returns a description of the first failure, or nothing.
std::string problems(Opened& t)
{
    const GeneralVariables& g = t.env.doc.general;
    const QRectF inner = QRectF(0, 0, g.diagramwidth * 10.0, g.diagramheight * 10.0).adjusted(100, 100, -100, -100);
    // Titles, totals, logo and north arrow stand where the template put them; the rest is the crossing.
    const DrawnShapes all = t.draw(false);
    if (!inner.contains(all.bounds))
        return "crossing outside the frame";
    for (const QPolygonF& band : all.bands)
        if (test::bandFolds(band))
            return "a band folds back";
    for (const DrawnText& text : all.texts) {
        if (readsUpsideDown(text.angle))
            return "upside down: " + text.text.toStdString();
        if (!isStreetName(g, text.text))
            continue;
        for (const QPolygonF& band : all.bands)
            if (shapesOverlap(text.cell, band))
                return "street name on a band: " + text.text.toStdString();
        for (const QPolygonF& kerb : all.strokes)
            if (shapesOverlap(text.cell, kerb))
                return "street name on a line: " + text.text.toStdString();
    }
    return {};
}

} // namespace

TEST(Library_ReadabilityTests, EveryTemplateTurnedInStepsOf15Degrees)
{
    // Each template with all its arms turned together by 0, 15, ... 345 degrees, and twice with every arm at
    // an angle of its own: inside the frame, nothing folded, upright, names clear.
    QRandomGenerator rng(19);
    for (const char* const& code : kCodes) {
        Opened t(code);
        const QList<int> base = t.angles();
        ASSERT_GE(base.size(), 3) << code;
        QList<QList<int>> sets;
        for (int by = 0; by < 360; by += kStep) {
            QList<int> a;
            for (int x : base)
                a << x + by;
            sets << a;
        }
        for (int n = 0; n < 2; ++n) {
            // Random, but no two arms closer than 40 degrees, or for six arms and more than their even
            // spacing less 10: arms on top of each other are no crossing, and two arms of six within 40
            // degrees fold the bands that turn between them.
            const int arms = int(base.size());
            sets << test::randomAngles(rng, arms, arms >= 6 ? 360 / arms - 10 : 40);
        }
        for (const QList<int>& a : sets) {
            t.turn(a);
            const std::string p = problems(t);
            QStringList shown;
            for (int x : a)
                shown << QString::number(x);
            EXPECT_EQ(p, std::string()) << code << " at " << shown.join('/').toStdString();
        }
    }
}

TEST(Library_ReadabilityTests, WithTheSettingsOffTheDrawingIsTheTemplatesOwn)
{
    // PlaceNamesClear off: every name lies on its arm's own points, as the template has it; KeepTextsUpright off:
    // a text along an arm at 120 degrees keeps its angle.
    Opened t("011400");
    t.env.ctx.settings.placeNamesClear = false;
    t.env.ctx.settings.keepTextsUpright = false;
    t.turn({0, 120, 180, 270});
    auto point = [&](const QString& name) {
        for (const QString& l : t.env.doc.coordinates)
            if (l.left(4) == name)
                return l.mid(5);
        return QString();
    };
    EXPECT_EQ(point("0311"), point("0011"));
    EXPECT_EQ(point("0312"), point("0012"));
    EXPECT_EQ(point("0321"), point("0022")); // 120 degrees reads inwards
    EXPECT_EQ(point("0322"), point("0021"));
    bool upsideDown = false;
    for (const DrawnText& text : t.draw().texts)
        upsideDown = upsideDown || readsUpsideDown(text.angle);
    EXPECT_TRUE(upsideDown);

    // On again: the same turn moves the names off the arm's points and clear of the bands.
    t.env.ctx.settings.placeNamesClear = true;
    t.env.ctx.settings.keepTextsUpright = true;
    t.turn({0, 120, 180, 270});
    EXPECT_NE(point("0311"), point("0011"));
    EXPECT_EQ(problems(t), std::string());
}

TEST(Library_ReadabilityTests, AThreeArmTemplateWithItsArmsDownFitsItsPicture)
{
    // 011304 with arms at 30, 150 and 270 degrees: the south arm was drawn out of the frame.
    Opened t("011304");
    t.turn({30, 150, 270});
    EXPECT_EQ(problems(t), std::string());
    EXPECT_GT(t.env.doc.general.armdistp1p2, 0);
}

TEST(Library_ReadabilityTests, StreetNamesStandBesideTheOutermostBandNotBetweenTheDirections)
{
    // Across the arm through the middle of its name, the bands near it lie on one side of it: the name is
    // beside the arm's bundle, not in the gap between the bands into and out of the crossing (where an arm
    // at 120 degrees used to put it), and clear of the kerbs.
    for (const QList<int>& angles : {QList<int>{0, 120, 180, 270}, QList<int>{10, 95, 190, 280}}) {
        Opened t("011400");
        QStringList r{"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011400", "[**Arms**]",
                      "ARMNO;ANGLE;NAME"};
        for (int arm = 0; arm < 4; ++arm)
            r << QStringLiteral("%1;%2;\"Street %1\"").arg(arm + 1).arg(angles[arm]);
        r << "[**OD**]" << "ARMFROM;ARMTO;VOLUME";
        const int volumes[4][4] = {{0, 183, 236, 289}, {167, 0, 326, 273}, {204, 257, 0, 63}, {241, 294, 47, 0}};
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b)
                if (a != b)
                    r << QStringLiteral("%1;%2;%3").arg(a + 1).arg(b + 1).arg(volumes[a][b]);
        t.env.files.StromenBestandOpenen(t.env.write("r.kvoimp", test::crlf(r)));
        const GeneralVariables& g = t.env.doc.general;
        const DrawnShapes all = t.draw(false);
        int names = 0;
        for (int arm = 0; arm < 4; ++arm) {
            const QString name = g.streetname[arm];
            const auto text = std::find_if(all.texts.begin(), all.texts.end(),
                                           [&](const DrawnText& x) { return x.text == name; });
            if (name.isEmpty() || text == all.texts.end())
                continue;
            ++names;
            const double a = g.arm[arm].section(QLatin1Char(';'), 2).toInt() * M_PI / 180.0;
            const QPointF across(-std::sin(a), -std::cos(a)), mid = text->cell.boundingRect().center();
            const QLineF line(mid - across * 400, mid + across * 400);
            int before = 0, after = 0;
            for (const QPolygonF& band : all.bands)
                for (qsizetype i = 0; i < band.size(); ++i) {
                    QPointF x;
                    if (QLineF(band[i], band[(i + 1) % band.size()]).intersects(line, &x) != QLineF::BoundedIntersection)
                        continue;
                    const QPointF r = x - mid;
                    (r.x() * across.x() + r.y() * across.y() < 0 ? before : after)++;
                }
            EXPECT_TRUE(before == 0 || after == 0) << name.toStdString() << " between bands at arm angle "
                                                   << angles[arm] << ": " << before << " / " << after;
            EXPECT_GT(before + after, 0) << name.toStdString() << " beyond the bands' ends";
        }
        EXPECT_EQ(names, 4);
    }
}
