#include "document/kvoimp.h"

#include "core/programcontext.h"
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
    for (int i = header + 1; i < out.size() && !out[i].startsWith(QStringLiteral("[**")); ++i) {
        const QString key = keyOf(out[i]);
        if (key.isEmpty())
            continue;
        for (const QString& request : requestGeneral) {
            if (keyOf(request).compare(key, Qt::CaseInsensitive) == 0)
                out[i] = request; // the last one wins
        }
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
    if (vars.volumesType == QLatin1String("OD")) {
        const int k = rows <= 4 ? 4 : rows;
        TMlb2 od;
        if (loadTable(ctx, libfiles::sectionOf(request, QStringLiteral("[**OD**]")), od)) {
            forEachRow(od, [&] {
                const QString from = od.GetData(QStringLiteral("ARMFROM"));
                const QString to = od.GetData(QStringLiteral("ARMTO"));
                const QString volume = od.GetData(QStringLiteral("VOLUME"));
                bool placed = false;
                for (int a = 1; rows <= 8 && a <= k; ++a) {
                    for (int b = 1; b <= k; ++b) {
                        if (a != b && from == QString::number(a) && to == QString::number(b))
                            placed = IntensiteitVervangen(doc.intensities, odIntensityName(a, b, k), volume) > 0;
                    }
                }
                if (!placed)
                    noteLeftOutVolume(ctx, leftOut, from, to, volume);
            });
        }
    } else if (vars.volumesType == QLatin1String("DIR")) {
        TMlb2 dir;
        if (loadTable(ctx, libfiles::sectionOf(request, QStringLiteral("[**DIR**]")), dir)) {
            forEachRow(dir, [&] {
                const QString direction = dir.GetData(QStringLiteral("DIRECTION"));
                const QString volume = dir.GetData(QStringLiteral("VOLUME"));
                if (direction.isEmpty() || IntensiteitVervangen(doc.intensities, direction, volume) == 0)
                    noteLeftOutDirection(ctx, leftOut, direction, volume);
            });
        }
    }

    SchaalEtcGoedZetten(files);
    files.reportLeftOut(name, leftOut);
}

} // namespace korvimo
