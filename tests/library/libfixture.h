#pragma once
// A program around one document for the library and import tests: the built
// data folder (template library, names files), a private temporary folder so
// that leftover temporary files can be counted, and a recording messenger.
#include <QDir>
#include <QFile>
#include <QLineF>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <ostream>

#include "arms/armsfinish.h"
#include "arms/armswizard.h"
#include "core/programcontext.h"
#include "document/csvfile.h"
#include "document/diagramfile.h"
#include "document/kvoimp.h"
#include "document/library.h"
#include "document/odfile.h"
#include "support/testsupport.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace test {

struct LibEnv {
    QTemporaryDir temp;
    korvimo::RecordingMessenger messenger;
    korvimo::ProgramContext ctx;
    korvimo::DiagramDocument doc;
    korvimo::DiagramFile files{ctx, doc};
    korvimo::DiagramLibrary library{ctx};

    explicit LibEnv(const QString& programFolder = binDir() + QStringLiteral("/"))
    {
        ctx.paths = korvimo::ProgramPaths::forProgramFolder(programFolder);
        ctx.paths.tempFolder = temp.path() + QStringLiteral("/");
        ctx.messenger = &messenger;
        files.setTemplateLibrary(&library);
        library.TekstenDiagramOphalenUitBestand();
    }

    // Files left in the private temporary folder.
    QStringList leftovers() const { return QDir(temp.path()).entryList(QDir::Files | QDir::Hidden); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = temp.path() + QStringLiteral("/in/") + name;
        QDir().mkpath(temp.path() + QStringLiteral("/in"));
        writeAll(path, bytes);
        return path;
    }

    // The volume of an intensity line, or -1 when there is none.
    int volume(const QString& name) const
    {
        for (const QString& l : doc.intensities) {
            if (l.left(4) == name)
                return l.section(QLatin1Char('='), 1).section(QLatin1Char(';'), 0, 0).toInt();
        }
        return -1;
    }
};

inline QByteArray crlf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

// A band quad whose long edges cross, or whose ends do: its outline turns back on itself. An extension
// the renderer draws between two points that coincide has two sides of no length; it covers nothing.
inline bool bandFolds(const QPolygonF& p)
{
    if (p.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i)
        if (QLineF(p[i], p[(i + 1) % 4]).length() < 2)
            return false;
    return QLineF(p[0], p[1]).intersects(QLineF(p[2], p[3])) == QLineF::BoundedIntersection
           || QLineF(p[1], p[2]).intersects(QLineF(p[3], p[0])) == QLineF::BoundedIntersection;
}

// Angles for so many arms at random, no two neighbours closer than apart degrees: each gap is that least
// spacing and a random share of what is left of the turn, so the draw always succeeds at once.
inline QList<int> randomAngles(QRandomGenerator& rng, int arms, int apart)
{
    QList<int> cuts{0, 360 - arms * apart};
    for (int i = 1; i < arms; ++i)
        cuts << int(rng.bounded(cuts[1] + 1));
    std::sort(cuts.begin(), cuts.end());
    QList<int> a{int(rng.bounded(360))};
    for (int i = 1; i < arms; ++i)
        a << a.last() + apart + cuts[i] - cuts[i - 1];
    for (int& x : a)
        x %= 360;
    std::sort(a.begin(), a.end());
    return a;
}

// The arms at these angles (one per defined arm, in order) through the wizard and its finishing step, as an
// import puts them in.
inline void turnArms(LibEnv& env, const QList<int>& angles)
{
    korvimo::ArmsWizardInput in = korvimo::armsWizardLoad(env.doc);
    int k = 0;
    for (korvimo::ArmRow& arm : in.arms)
        if (!arm.point1.isEmpty() && k < angles.size())
            arm.angle = angles[k++];
    korvimo::armsWizardApply(env.doc, in, env.ctx.settings.ringFollowsArms);
    korvimo::armsWizardFinish(env.doc, env.ctx);
}

} // namespace test
