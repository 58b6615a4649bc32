#include "document/kvoimp.h"

#include <QHash>
#include <QTemporaryFile>

#include "core/programcontext.h"
#include "document/diagramfile.h"
#include "document/integertext.h"
#include "document/intensitychange.h"
#include "document/intensityreplace.h"
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

QString tempTemplate(const ProgramContext& ctx, const char* extension)
{
    return libfiles::tempFolder(ctx) + QStringLiteral("$1_") + QString::fromLatin1(kProgramName)
           + QStringLiteral("_XXXXXX") + QLatin1String(extension);
}

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
    QTemporaryFile temp(tempTemplate(ctx, ".txt"));
    if (!temp.open()) {
        cannotCreate(ctx, temp.fileTemplate());
        return false;
    }
    if (temp.write(bytes) != bytes.size() || !temp.flush()) {
        cannotCreate(ctx, temp.fileName());
        return false;
    }
    temp.close();
    if (!table.LoadFromFile(temp.fileName()))
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
        QTemporaryFile temp(tempTemplate(ctx, ".kvo"));
        if (!temp.open()) {
            cannotCreate(ctx, temp.fileTemplate());
        } else {
            const QByteArray bytes = textfile::encodeLines(templ);
            if (temp.write(bytes) != bytes.size() || !temp.flush()) {
                cannotCreate(ctx, temp.fileName());
            } else {
                temp.close();
                files.StromenBestandOpenen(temp.fileName());
            }
        }
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

    const int rows = arms.RowCount();
    if (vars.volumesType == QLatin1String("OD") && rows <= 8) {
        const int k = rows <= 4 ? 4 : rows;
        TMlb2 od;
        if (loadTable(ctx, libfiles::sectionOf(request, QStringLiteral("[**OD**]")), od)) {
            forEachRow(od, [&] {
                const QString from = od.GetData(QStringLiteral("ARMFROM"));
                const QString to = od.GetData(QStringLiteral("ARMTO"));
                for (int a = 1; a <= k; ++a) {
                    for (int b = 1; b <= k; ++b) {
                        if (a != b && from == QString::number(a) && to == QString::number(b))
                            IntensiteitVervangen(doc.intensities, odIntensityName(a, b, k),
                                                 od.GetData(QStringLiteral("VOLUME")));
                    }
                }
            });
        }
    } else if (vars.volumesType == QLatin1String("DIR")) {
        TMlb2 dir;
        if (loadTable(ctx, libfiles::sectionOf(request, QStringLiteral("[**DIR**]")), dir)) {
            forEachRow(dir, [&] {
                const QString direction = dir.GetData(QStringLiteral("DIRECTION"));
                if (!direction.isEmpty())
                    IntensiteitVervangen(doc.intensities, direction, dir.GetData(QStringLiteral("VOLUME")));
            });
        }
    }

    SchaalEtcGoedZetten(files);
}

} // namespace korvimo
