// The roundabout templates through the arms wizard, at even and uneven arm
// angles: every movement goes round the ring as true curves, bands of
// different movements meet only where one of them enters, no band folds back,
// and everything stays inside the picture. Checked on the records.
#include <gtest/gtest.h>

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "arms/armsfinish.h"
#include "arms/armswizard.h"
#include "arms/drawnshapes.h"
#include "canvas/metafile.h"
#include "canvas/textmetrics.h"
#include "library/libfixture.h"
#include "render/maakmeta.h"

using namespace korvimo;

namespace {

const char* const kRoundabouts[] = {"020301", "020302", "020303", "020304", "020400", "020500", "020600"};

// Angle sets by the number of arms the template defines: the template's own
// and uneven ones, with arms in the range 100 to 260 degrees where texts turn.
QList<QList<int>> angleSets(int arms)
{
    switch (arms) {
    case 4: return {{0, 90, 180, 270}, {30, 150, 210, 300}, {0, 120, 200, 260}, {20, 100, 200, 290}, {45, 135, 225, 315}};
    case 5: return {{0, 72, 144, 216, 288}, {10, 80, 160, 200, 290}, {30, 90, 180, 240, 300}};
    case 6: return {{0, 60, 120, 180, 240, 300}, {10, 70, 110, 190, 250, 300}, {30, 80, 150, 200, 260, 320}};
    default: return {};
    }
}

std::string shown(const QList<int>& angles)
{
    QStringList s;
    for (int a : angles)
        s << QString::number(a);
    return s.join('/').toStdString();
}

void turnArms(test::LibEnv& env, const QList<int>& angles)
{
    ArmsWizardInput in = armsWizardLoad(env.doc);
    int k = 0;
    for (ArmRow& arm : in.arms)
        if (!arm.point1.isEmpty() && k < angles.size())
            arm.angle = angles[k++];
    armsWizardApply(env.doc, in, env.ctx.settings.ringFollowsArms);
    armsWizardFinish(env.doc, env.ctx);
}

int definedArms(const DiagramDocument& doc)
{
    int n = 0;
    for (const QString& def : doc.general.arm)
        n += !def.isEmpty();
    return n;
}

// The band lines of one movement, in order: the ARC lines that share its volume.
struct Movement {
    QString volume;
    QList<int> lines;
};

QList<Movement> movements(const QStringList& script)
{
    QList<Movement> out;
    for (int i = 0; i < script.size(); ++i) {
        if (!script[i].startsWith(QLatin1String("ARC;")))
            continue;
        const QString volume = script[i].section(QLatin1Char(';'), 8, 8);
        auto it = std::find_if(out.begin(), out.end(), [&](const Movement& m) { return m.volume == volume; });
        if (it == out.end())
            out << Movement{volume, {i}};
        else
            it->lines << i;
    }
    return out;
}

// The band shapes that one script line draws alone.
QList<QPolygonF> bandsOfLine(test::LibEnv& env, int line, const TextMetrics& metrics)
{
    DiagramDocument alone = env.doc;
    QStringList script;
    for (int i = 0; i < alone.script.size(); ++i)
        if (i == line || alone.script[i].startsWith(QLatin1String("GRP;")))
            script << alone.script[i];
    alone.script = script;
    Metafile target;
    MaakMeta(alone, env.ctx, target, "EMF", "E");
    return drawnShapes(target, alone.general.linewidth, metrics).bands;
}

bool anyOverlap(const QList<QPolygonF>& a, const QList<QPolygonF>& b)
{
    for (const QPolygonF& p : a)
        for (const QPolygonF& q : b)
            if (p.boundingRect().intersects(q.boundingRect()) && shapesOverlap(p, q))
                return true;
    return false;
}

// A band quad whose long edges cross, or whose ends do: its outline turns back on itself.
bool folds(const QPolygonF& p)
{
    return p.size() == 4 && (QLineF(p[0], p[1]).intersects(QLineF(p[2], p[3])) == QLineF::BoundedIntersection ||
                             QLineF(p[1], p[2]).intersects(QLineF(p[3], p[0])) == QLineF::BoundedIntersection);
}

// What is wrong with the template as it now stands; empty when nothing is.
std::string problems(test::LibEnv& env)
{
    const TextMetrics metrics;
    env.messenger.entries.clear();
    env.ctx.view.showIntersections = true;
    Metafile target;
    const RenderOutcome r = MaakMeta(env.doc, env.ctx, target, "EMF", "E");
    env.ctx.view.showIntersections = false;
    if (!r.completed || r.brokenLines || !env.messenger.entries.isEmpty())
        return "not drawn cleanly: " + r.errorText.toStdString();
    // A curve the renderer could not build is drawn straight or split: lines the script does not have.
    for (qsizetype i = 0; i + 1 < r.checkList.size(); ++i)
        if (r.checkList[i].startsWith(QLatin1String("=====")) && !env.doc.script.contains(r.checkList[i + 1]))
            return "fallback: " + r.checkList[i + 1].toStdString();

    // The crossing without the frame, background, titles and totals, which stand where the template put them.
    GeneralVariables& g = env.doc.general;
    const auto groups = g.grp;
    for (DrawingGroup d : {DrawingGroup::Frame, DrawingGroup::Background, DrawingGroup::Logo, DrawingGroup::ITotal,
                           DrawingGroup::Text, DrawingGroup::Filename, DrawingGroup::North})
        g.setGroupVisible(d, false);
    target = Metafile();
    MaakMeta(env.doc, env.ctx, target, "EMF", "E");
    g.grp = groups;
    const DrawnShapes all = drawnShapes(target, g.linewidth, metrics);
    if (!QRectF(0, 0, g.diagramwidth * 10.0, g.diagramheight * 10.0).adjusted(100, 100, -100, -100).contains(all.bounds))
        return "outside the frame";
    for (const QPolygonF& band : all.bands)
        if (folds(band))
            return "a band folds back";

    // Each movement's entry (its first line: in along the arm and onto the
    // ring) may cross what circulates; nothing else may meet another movement.
    struct Drawn {
        QString volume;
        QList<QPolygonF> entry, rest;
    };
    QList<Drawn> drawn;
    for (const Movement& m : movements(env.doc.script)) {
        Drawn d{m.volume, bandsOfLine(env, m.lines[0], metrics), {}};
        for (qsizetype i = 1; i < m.lines.size(); ++i)
            d.rest += bandsOfLine(env, m.lines[i], metrics);
        if (m.lines.size() == 1)
            return "movement " + m.volume.toStdString() + " does not use the ring";
        drawn << d;
    }
    for (qsizetype i = 0; i < drawn.size(); ++i)
        for (qsizetype j = i + 1; j < drawn.size(); ++j) {
            const Drawn &a = drawn[i], &b = drawn[j];
            if (anyOverlap(a.rest, b.rest) || anyOverlap(a.entry, b.entry))
                return "movements " + a.volume.toStdString() + " and " + b.volume.toStdString() + " overlap";
        }
    return {};
}

QPointF pointOf(const DiagramDocument& doc, const QString& name)
{
    for (const QString& l : doc.coordinates)
        if (l.left(4) == name)
            return {l.section(QLatin1Char('='), 1).section(QLatin1Char(';'), 0, 0).toDouble(),
                    l.section(QLatin1Char(';'), 1, 1).toDouble()};
    return {};
}

} // namespace

TEST(Library_RoundaboutTests, EveryRoundaboutGoesRoundTheRingAtEvenAndUnevenAngles)
{
    // Every roundabout template, with its arms at several angle sets through the wizard as an import sets them.
    for (const char* code : kRoundabouts) {
        test::LibEnv env;
        ASSERT_TRUE(env.library.OpenBestandUitLib(QLatin1String(code), env.files, false)) << code;
        const DiagramDocument opened = env.doc;
        for (const QList<int>& angles : angleSets(definedArms(opened))) {
            env.doc = opened;
            turnArms(env, angles);
            EXPECT_EQ(problems(env), std::string()) << code << " at " << shown(angles);
        }
    }
}

TEST(Library_RoundaboutTests, RingPointsTurnWithTheArmsOrStayWithTheSettingOff)
{
    // The 4-arm roundabout turned to 30/150/210/300: each ring point keeps its distance from the centre and its
    // share of the angle between its two arms; with RingFollowsArms off it stays where the template has it.
    test::LibEnv env;
    ASSERT_TRUE(env.library.OpenBestandUitLib(QLatin1String("020400"), env.files, false));
    const DiagramDocument opened = env.doc;
    const QStringList ring = ringPoints(opened);
    ASSERT_EQ(ring.size(), 8);
    const QPointF c0 = pointOf(opened, "0001");

    ArmsWizardInput in = armsWizardLoad(env.doc);
    for (int i = 0; i < 4; ++i)
        in.arms[i].angle = QList<int>{30, 150, 210, 300}[i];
    armsWizardApply(env.doc, in, false);
    for (const QString& p : ring)
        EXPECT_EQ(pointOf(env.doc, p), pointOf(opened, p)) << p.toStdString();

    env.doc = opened;
    env.ctx.settings.ringFollowsArms = true;
    turnArms(env, {30, 150, 210, 300});
    const QPointF c = pointOf(env.doc, "0001");
    // Sector 1 runs from 30 to 150 degrees: its chord lies at 40 and 60 per cent of it.
    const std::vector<std::pair<QString, double>> expected = {{"0511", 78.0}, {"0512", 102.0}, {"0541", 336.0}};
    for (const auto& [name, angle] : expected) {
        const QPointF v = pointOf(env.doc, name) - c;
        const QPointF v0 = pointOf(opened, name) - c0;
        EXPECT_NEAR(std::hypot(v.x(), v.y()), std::hypot(v0.x(), v0.y()), 1.0) << name.toStdString();
        double a = std::atan2(-v.y(), v.x()) * 180 / M_PI;
        a += a < 0 ? 360 : 0;
        EXPECT_NEAR(a, angle, 1.0) << name.toStdString();
    }
    // Points of the ring are neither the arm points nor anything beyond arm point 1.
    for (const QString& p : ring)
        EXPECT_TRUE(p.startsWith(QLatin1String("05"))) << p.toStdString();
}
