#include "document/kvoimp.h"

#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include "core/programcontext.h"
#include "document/comparison.h"
#include "document/vehicleclasses.h"
#include "document/diagramfile.h"
#include "document/integertext.h"
#include "document/intensitychange.h"
#include "document/intensityreplace.h"
#include "document/leftoutdata.h"
#include "document/library.h"
#include "document/libraryfiles.h"
#include "document/textfile.h"
#include "document/tmlb2.h"

namespace korvimo {

namespace {

QString keyOf(const QString& line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq);
}

QString tempPrefix() { return QStringLiteral("$1_") + QString::fromLatin1(kProgramName) + QLatin1Char('_'); }

void cannotCreate(ProgramContext& ctx, const QString& name)
{
    ctx.messages().error(ctx.texts.format(QStringLiteral("AA00025"), {name}));
}

// Loads a table section through the table store. The store reads its file
// as Windows-1252; the section is written as UTF-8 and every cell decoded
// back from its bytes, so names in any script arrive intact (UTF-8 never
// uses the bytes of ";", the quote, CR or LF inside a character).
bool loadTable(ProgramContext& ctx, const QStringList& section, TMlb2& table)
{
    QByteArray bytes;
    for (const QString& line : section) {
        if (!line.isEmpty())
            bytes += line.toUtf8() + "\r\n";
    }
    libfiles::ScratchFile temp(ctx, tempPrefix(), QStringLiteral(".txt"));
    if (!temp.create(bytes)) {
        cannotCreate(ctx, temp.name());
        return false;
    }
    if (!table.LoadFromFile(temp.name()))
        return false;
    if (table.GoFirst()) {
        do {
            for (const QString& f : table.Fields())
                table.SetData(f, QString::fromUtf8(textfile::toWindows1252(table.GetData(f))));
        } while (table.GoNext());
    }
    return true;
}

// Calls body for every row; an empty table has none.
template <class Body>
void forEachRow(TMlb2& table, Body body)
{
    if (!table.GoFirst())
        return;
    do {
        body();
    } while (table.GoNext());
}

// The row's class columns ("VOLUME_<class>") into classes, for intensity.
void collectClasses(TMlb2& table, const QString& intensity, ClassVolumes& classes)
{
    for (const QString& f : table.Fields()) {
        if (f.size() > 7 && f.startsWith(QLatin1String("VOLUME_"), Qt::CaseInsensitive))
            classes.add(f.mid(7), intensity, toIntegerOr(table.GetData(f), 0));
    }
}

// The volumes of the "[**<prefix>OD**]" or "[**<prefix>DIR**]" table, by
// volumesType ("OD" or "DIR", compared exactly), into intensities, and the
// class columns of the rows used into classes.
void fillVolumes(ProgramContext& ctx, const QStringList& request, const QString& volumesType, const QString& prefix,
                 int rows, QStringList& intensities, ClassVolumes& classes, QStringList* leftOut = nullptr)
{
    const auto section = [&](const char* name) {
        return libfiles::sectionOf(request, QStringLiteral("[**") + prefix + QLatin1String(name) + QStringLiteral("**]"));
    };
    // Rows whose volume lands on no intensity line of the template (outside
    // the numbering, more than eight arms, an arm the template lacks) are
    // noted in leftOut, so the reader can name them.
    if (volumesType == QLatin1String("OD")) {
        const int k = rows <= 4 ? 4 : rows;
        TMlb2 od;
        if (loadTable(ctx, section("OD"), od)) {
            forEachRow(od, [&] {
                const QString from = od.GetData(QStringLiteral("ARMFROM"));
                const QString to = od.GetData(QStringLiteral("ARMTO"));
                const QString volume = od.GetData(QStringLiteral("VOLUME"));
                bool placed = false;
                for (int a = 1; rows <= 8 && a <= k; ++a) {
                    for (int b = 1; b <= k; ++b) {
                        if (a != b && from == QString::number(a) && to == QString::number(b)) {
                            const QString n = odIntensityName(a, b, k);
                            placed = IntensiteitVervangen(intensities, n, volume) > 0;
                            collectClasses(od, n, classes);
                        }
                    }
                }
                if (!placed && leftOut)
                    noteLeftOutVolume(ctx, *leftOut, from, to, volume);
            });
        }
    } else if (volumesType == QLatin1String("DIR")) {
        TMlb2 dir;
        if (loadTable(ctx, section("DIR"), dir)) {
            forEachRow(dir, [&] {
                const QString direction = dir.GetData(QStringLiteral("DIRECTION"));
                const QString volume = dir.GetData(QStringLiteral("VOLUME"));
                if (direction.isEmpty() || IntensiteitVervangen(intensities, direction, volume) == 0) {
                    if (leftOut)
                        noteLeftOutDirection(ctx, *leftOut, direction, volume);
                } else {
                    collectClasses(dir, direction, classes);
                }
            });
        }
    }
}

// The request's second volume section against its first: the document
// becomes the comparison diagram. A comparison that cannot be made is
// reported and leaves the base diagram.
void compareWithScenario(ProgramContext& ctx, const KvoimpVariables& vars, const QString& name,
                         DiagramDocument& doc, const QStringList& scenarioVolumes)
{
    ComparisonOptions options = ComparisonOptions::fromSettings(ctx.settings);
    if (vars.comparePercentages >= 0)
        options.percentages = vars.comparePercentages == 1;
    DocumentContent scenario = doc.content();
    scenario.intensities = scenarioVolumes;
    DocumentContent result;
    const QString file = QFileInfo(name).fileName();
    const ComparisonOutcome outcome = compareDiagrams(doc.content(), scenario, options, ctx.texts,
                                                      file + QStringLiteral(" [") + vars.volumesType + QLatin1Char(']'),
                                                      file + QStringLiteral(" [Scenario") + vars.scenarioVolumesType
                                                          + QLatin1Char(']'),
                                                      result);
    if (!outcome.ok) {
        ctx.messages().error(outcome.message);
        return;
    }
    doc.general = result.general;
    doc.script = result.script;
    doc.intensities = result.intensities;
    doc.notes = result.notes;
}

// After the scale from the highest volume, so that a valid fixed scale is
// what the picture is drawn with.
void applyFixedScale(ProgramContext& ctx, const KvoimpVariables& vars, const QString& name, GeneralVariables& g)
{
    if (!vars.fixedScaleValid)
        ctx.messages().error(ctx.texts.format(QStringLiteral("AA00252"), {vars.fixedScaleText, QFileInfo(name).fileName()}));
    else if (vars.fixedScale > 0)
        g.sfactor = vars.fixedScale;
}

} // namespace

KvoimpVariables kvoimpVariables(const QStringList& lines)
{
    KvoimpVariables v;
    for (const QString& line : libfiles::sectionOf(lines, QStringLiteral("[**Import variables**]"))) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (key.compare(QLatin1String("VolumesType"), Qt::CaseInsensitive) == 0)
            v.volumesType = value;
        else if (key.compare(QLatin1String("BaseDiagramFromLibrary"), Qt::CaseInsensitive) == 0)
            v.baseDiagram = value;
        else if (key.compare(QLatin1String("ExportSizeWidth"), Qt::CaseInsensitive) == 0) {
            const int w = toIntegerOr(value, 0);
            v.exportWidth = w >= 1 ? w : 600;
        } else if (key.compare(QLatin1String("ScenarioVolumesType"), Qt::CaseInsensitive) == 0) {
            v.scenarioVolumesType = value;
        } else if (key.compare(QLatin1String("ComparePercentages"), Qt::CaseInsensitive) == 0) {
            v.comparePercentages = value == QLatin1String("1") ? 1 : 0;
        } else if (key.compare(QLatin1String("DrawClasses"), Qt::CaseInsensitive) == 0) {
            v.drawClasses = value;
        } else if (key.compare(QLatin1String("ShareClass"), Qt::CaseInsensitive) == 0) {
            v.shareClass = value;
        } else if (key.compare(QLatin1String("FixedScale"), Qt::CaseInsensitive) == 0) {
            const int scale = toIntegerOr(value, 0);
            v.fixedScaleText = value;
            v.fixedScaleValid = scale >= 1 && scale <= 999999999;
            v.fixedScale = v.fixedScaleValid ? scale : 0;
        }
    }
    return v;
}

QStringList kvoimpMergeGeneral(const QStringList& templateLines, const QStringList& requestGeneral)
{
    QStringList out = templateLines;
    const int header = out.indexOf(QStringLiteral("[**General variables**]"));
    if (header < 0)
        return out;
    // The last request line of each key wins; one pass over each list keeps
    // a request with a huge section from costing template x request lines.
    QHash<QString, qsizetype> lastOfKey;
    for (qsizetype r = 0; r < requestGeneral.size(); ++r) {
        const QString key = keyOf(requestGeneral[r]);
        if (!key.isEmpty())
            lastOfKey.insert(key.toCaseFolded(), r);
    }
    for (int i = header + 1; i < out.size() && !out[i].startsWith(QStringLiteral("[**")); ++i) {
        const QString key = keyOf(out[i]);
        if (key.isEmpty())
            continue;
        const auto it = lastOfKey.constFind(key.toCaseFolded());
        if (it != lastOfKey.cend())
            out[i] = requestGeneral[*it];
    }
    return out;
}

void KvoimpBestandOpenen(const QString& name, DiagramFile& files)
{
    ProgramContext& ctx = files.context();
    DiagramDocument& doc = files.document();
    QStringList request;
    textfile::readLines(name, &request); // unreadable: every section is empty

    const KvoimpVariables vars = kvoimpVariables(request);
    ctx.settings.exportBmpSize = vars.exportWidth;

    DiagramLibrary* library = dynamic_cast<DiagramLibrary*>(files.templateLibrary());
    QStringList templ;
    if (library)
        templ = library->DiagramFromLibToStringList(vars.baseDiagram);
    templ = kvoimpMergeGeneral(templ, libfiles::sectionOf(request, QStringLiteral("[**General variables**]")));

    TMlb2 arms;
    loadTable(ctx, libfiles::sectionOf(request, QStringLiteral("[**Arms**]")), arms);

    {
        libfiles::ScratchFile temp(ctx, tempPrefix(), QStringLiteral(".kvo"));
        if (temp.create(textfile::encodeLines(templ)))
            files.StromenBestandOpenen(temp.name());
        else
            cannotCreate(ctx, temp.name());
    }

    AlleIntensiteitenOp(doc.intensities, 0);

    GeneralVariables& g = doc.general;
    forEachRow(arms, [&] {
        const QString no = arms.GetData(QStringLiteral("ARMNO"));
        for (int n = 1; n <= 8; ++n) {
            if (no == QString::number(n)) {
                g.arm[n - 1] = CoordsArmOphalenZonderHoek(g.arm[n - 1]) + arms.GetData(QStringLiteral("ANGLE"));
                g.streetname[n - 1] = arms.GetData(QStringLiteral("NAME"));
            }
        }
    });

    // Rows whose volume lands on no intensity line of the template: outside
    // the numbering, more than eight arms, or an arm the template lacks.
    QStringList leftOut;
    const int rows = arms.RowCount();
    ClassVolumes classes;
    fillVolumes(ctx, request, vars.volumesType, QString(), rows, doc.intensities, classes, &leftOut);
    const ClassChoice choice = classChoiceFor(ctx, vars.drawClasses, vars.shareClass);

    QStringList scenario;
    const bool comparing = !vars.scenarioVolumesType.isEmpty();
    if (comparing) {
        scenario = doc.intensities;
        AlleIntensiteitenOp(scenario, 0);
        ClassVolumes scenarioClasses;
        fillVolumes(ctx, request, vars.scenarioVolumesType, QStringLiteral("Scenario"), rows, scenario,
                    scenarioClasses);
        // A comparison labels changes, not shares: only the drawn volumes
        // follow the choice, in both sets.
        if (applyClassVolumes(ctx, name, choice, classes, doc.intensities))
            applyClassVolumes(ctx, name, choice, scenarioClasses, scenario);
    } else {
        applyClassChoice(ctx, name, choice, classes, doc);
    }

    SchaalEtcGoedZetten(files);
    if (comparing)
        compareWithScenario(ctx, vars, name, doc, scenario);
    applyFixedScale(ctx, vars, name, doc.general);
    files.reportLeftOut(name, leftOut);
}

} // namespace korvimo
