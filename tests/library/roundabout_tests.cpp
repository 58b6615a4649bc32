// The roundabout templates through the arms wizard, at even and uneven arm
// angles: every movement goes round the ring as true curves, bands of
// different movements meet only where one of them enters, no band folds back,
// and everything stays inside the picture. Checked on the records.
#include <gtest/gtest.h>

#include <QLineF>
#include <QRandomGenerator>
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
    case 6: return {{44, 97, 149, 214, 277, 342}, {0, 60, 120, 180, 240, 300}, {10, 70, 110, 190, 250, 300}, {30, 80, 150, 200, 260, 320}};
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
    const QStringList whole = env.doc.script;
    QStringList script;
    for (int i = 0; i < whole.size(); ++i)
        if (i == line || whole[i].startsWith(QLatin1String("GRP;")))
            script << whole[i];
    env.doc.script = script;
    Metafile target;
    MaakMeta(env.doc, env.ctx, target, "EMF", "E");
    env.doc.script = whole;
    return drawnShapes(target, env.doc.general.linewidth, metrics).bands;
}

// The parts of a document that the arms wizard changes, to put back between two turns.
struct Saved {
    GeneralVariables general;
    QStringList coordinates;
    explicit Saved(const DiagramDocument& d) : general(d.general), coordinates(d.coordinates) {}
    void restore(DiagramDocument& d) const
    {
        d.general = general;
        d.coordinates = coordinates;
    }
};

bool anyOverlap(const QList<QPolygonF>& a, const QList<QPolygonF>& b)
{
    for (const QPolygonF& p : a)
        for (const QPolygonF& q : b)
            if (p.boundingRect().intersects(q.boundingRect()) && shapesOverlap(p, q))
                return true;
    return false;
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

    // Each movement's entry (its first line: in along the arm and onto the
    // ring) may cross what circulates; nothing else may meet another movement.
    struct Drawn {
        QString volume;
        QList<QPolygonF> entry, rest;
    };
    QList<Drawn> drawn;
    const QList<Movement> moves = movements(env.doc.script);
    if (moves.size() < 6)
        return "too few movements";
    for (const Movement& m : moves) {
        Drawn d;
        d.volume = m.volume;
        for (qsizetype i = 0; i < m.lines.size(); ++i) {
            const QList<QPolygonF> bands = bandsOfLine(env, m.lines[i], metrics);
            for (const QPolygonF& b : bands)
                if (test::bandFolds(b)) {
                    std::string at;
                    for (const QPointF& p : b)
                        at += " " + std::to_string(int(p.x())) + "," + std::to_string(int(p.y()));
                    return "folds back:" + at + " " + env.doc.script[m.lines[i]].toStdString();
                }
            (i == 0 ? d.entry : d.rest) += bands;
        }
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

QPointF pointOf(const QStringList& coordinates, const QString& name)
{
    for (const QString& l : coordinates)
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
        const Saved opened(env.doc);
        for (const QList<int>& angles : angleSets(definedArms(env.doc))) {
            opened.restore(env.doc);
            test::turnArms(env, angles);
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
    const QStringList ring = ringPoints(env.doc);
    ASSERT_EQ(ring.size(), 8);
    const Saved opened(env.doc);
    auto original = [&](const QString& name) { return pointOf(opened.coordinates, name); };
    const QPointF c0 = original("0001");

    ArmsWizardInput in = armsWizardLoad(env.doc);
    for (int i = 0; i < 4; ++i)
        in.arms[i].angle = QList<int>{30, 150, 210, 300}[i];
    armsWizardApply(env.doc, in, false);
    for (const QString& p : ring)
        EXPECT_EQ(pointOf(env.doc.coordinates, p), original(p)) << p.toStdString();

    opened.restore(env.doc);
    env.ctx.settings.ringFollowsArms = true;
    test::turnArms(env, {30, 150, 210, 300});
    const QPointF c = pointOf(env.doc.coordinates, "0001");
    // Sector 1 runs from 30 to 150 degrees: its chord lies at 40 and 60 per cent of it.
    const std::vector<std::pair<QString, double>> expected = {{"0511", 78.0}, {"0512", 102.0}, {"0541", 336.0}};
    for (const auto& [name, angle] : expected) {
        const QPointF v = pointOf(env.doc.coordinates, name) - c;
        const QPointF v0 = original(name) - c0;
        EXPECT_NEAR(std::hypot(v.x(), v.y()), std::hypot(v0.x(), v0.y()), 1.0) << name.toStdString();
        double a = std::atan2(-v.y(), v.x()) * 180 / M_PI;
        a += a < 0 ? 360 : 0;
        EXPECT_NEAR(a, angle, 1.0) << name.toStdString();
    }
    // Points of the ring are neither the arm points nor anything beyond arm point 1.
    for (const QString& p : ring)
        EXPECT_TRUE(p.startsWith(QLatin1String("05"))) << p.toStdString();
}

TEST(Library_RoundaboutTests, ImportRequestsTurnTheRingToo)
{
    // An import request writes the angles before the wizard places the points: the ring follows all the same,
    // at volumes of its own (wider bands than the template's).
    const QList<int> volumes = {0, 80, 250, 120, 250, 0, 40, 320, 180, 450, 250, 0, 40, 120, 80, 0};
    for (const QList<int>& angles : {QList<int>{30, 150, 210, 300}, QList<int>{0, 120, 200, 260}}) {
        test::LibEnv env;
        QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=020400", "[**Arms**]",
                         "ARMNO;ANGLE;NAME"};
        for (int a = 1; a <= 4; ++a)
            r << QStringLiteral("%1;%2;\"Arm %1\"").arg(a).arg(angles[a - 1]);
        r << "[**OD**]" << "ARMFROM;ARMTO;VOLUME";
        for (int a = 1; a <= 4; ++a)
            for (int b = 1; b <= 4; ++b)
                r << QStringLiteral("%1;%2;%3").arg(a).arg(b).arg(volumes[(a - 1) * 4 + b - 1]);
        env.files.StromenBestandOpenen(env.write("r.kvoimp", test::crlf(r)));
        EXPECT_EQ(problems(env), std::string()) << shown(angles);
    }
}

TEST(Library_RoundaboutTests, RandomAnglesWithinTheRingsReach)
{
    // Arms at random, as far apart as the ring reaches: no sector (from an arm to the next) wider than 130
    // degrees, where a band entering along its arm still meets the ring's chord in that sector. Wider sectors
    // draw, but some joints there fall back to straight or split ones.
    QRandomGenerator rng(23);
    for (const char* code : kRoundabouts) {
        test::LibEnv env;
        ASSERT_TRUE(env.library.OpenBestandUitLib(QLatin1String(code), env.files, false)) << code;
        const Saved opened(env.doc);
        const int arms = definedArms(env.doc);
        for (int n = 0; n < 6; ++n) {
            QList<int> angles;
            int widest = 360;
            for (int tries = 0; tries < 1000 && widest > 130; ++tries) {
                angles = test::randomAngles(rng, arms, arms >= 6 ? 50 : 40);
                widest = 0;
                for (int k = 0; k < arms; ++k)
                    widest = std::max(widest, (angles[(k + 1) % arms] - angles[k] + 360) % 360);
            }
            ASSERT_LE(widest, 130) << code;
            opened.restore(env.doc);
            test::turnArms(env, angles);
            EXPECT_EQ(problems(env), std::string()) << code << " at " << shown(angles);
        }
    }
}
