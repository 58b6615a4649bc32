#include "document/odfile.h"

#include "document/diagramfile.h"
#include "document/integertext.h"
#include "document/intensityreplace.h"
#include "document/leftoutdata.h"
#include "document/library.h"
#include "document/textfile.h"
#include "document/vehicleclasses.h"

namespace korvimo {

namespace {

// Positions from..to (1-based, inclusive) of line, trimmed; positions past
// the end of a short line read as blank.
QString field(const QString& line, int from, int to = -1)
{
    const int start = from - 1;
    if (start >= line.size())
        return {};
    return (to < 0 ? line.mid(start) : line.mid(start, to - from + 1)).trimmed();
}

// Shows the overview drawing again on every way out, a thrown error included.
struct OverviewHidden {
    explicit OverviewHidden(DiagramFile& f) : files(f) { callHook(files.hooks.setOverviewDrawingVisible, false); }
    ~OverviewHidden() { callHook(files.hooks.setOverviewDrawingVisible, true); }
    DiagramFile& files;
};

// Class blocks after the arm lines: a line "*" + class name, then one line
// per arm in the arm lines' layout, of which only the volumes are read.
template <class ArmOf>
void readClassBlocks(const QStringList& lines, int m, int k, ArmOf diagramArm, ClassVolumes& classes)
{
    for (int at = 2 + m; at < lines.size(); ++at) {
        if (!lines[at].startsWith(QLatin1Char('*')))
            continue;
        const QString cls = lines[at].mid(1).trimmed();
        if (cls.isEmpty())
            continue;
        for (int i = 1; i <= m && at + i < lines.size() && !lines[at + i].startsWith(QLatin1Char('*')); ++i) {
            for (int j = 1; j <= m; ++j) {
                if (j == i)
                    continue;
                const int from = 29 + 7 * (j - 1);
                classes.add(cls, odIntensityName(diagramArm(i), diagramArm(j), k),
                            toIntegerOr(field(lines[at + i], from, from + 6), 0));
            }
        }
    }
}

} // namespace

QString odVolumeField(const QString& armLine, int fileArm)
{
    const int from = 29 + 7 * (fileArm - 1);
    return field(armLine, from, from + 6);
}

OdTemplate odTemplateFor(QChar armCount)
{
    switch (armCount.unicode()) {
    case u'2':
    case u'3': return {QStringLiteral("011304"), 3};
    case u'4': return {QStringLiteral("011400"), 4};
    case u'5': return {QStringLiteral("010500"), 5};
    case u'6': return {QStringLiteral("010600"), 6};
    case u'7': return {QStringLiteral("010700"), 7};
    case u'8': return {QStringLiteral("010800"), 8};
    default: return {};
    }
}

void ODBestandOpenen(const QString& name, DiagramFile& files) { readOdFile(name, files, name); }

void readOdFile(const QString& name, DiagramFile& files, const QString& shownName)
{
    OverviewHidden hidden(files);
    QStringList lines;
    if (!textfile::readLines(name, &lines))
        return;
    const QString line1 = lines.value(0);
    const QString line2 = lines.value(1);
    const QChar armCount = line2.size() >= 6 ? line2[5] : QChar();
    const OdTemplate tmpl = odTemplateFor(armCount);
    if (!tmpl.code.isEmpty() && files.templateLibrary())
        files.templateLibrary()->openTemplate(tmpl.code, files);

    DiagramDocument& doc = files.document();
    GeneralVariables& g = doc.general;
    g.title[1] = field(line1, 1);
    g.title[0] = field(line2, 7);
    if (g.title[0].isEmpty())
        g.title[0] = field(line2, 1, 5);

    ClassVolumes classes;
    const int m = tmpl.armLines;
    const int k = m <= 4 ? 4 : m;
    auto diagramArm = [m](int fileArm) { return fileArm == 1 ? 1 : m + 2 - fileArm; };
    QStringList leftOut;
    for (int i = 1; i <= m && 1 + i < lines.size(); ++i) {
        const QString& line = lines[1 + i];
        const int a = diagramArm(i);
        g.arm[a - 1] = CoordsArmOphalenZonderHoek(g.arm[a - 1]) + field(line, 6, 8);
        QString street = field(line, 9, 28);
        g.streetname[a - 1] = street.isEmpty() ? field(line, 1, 5) : street;
        for (int j = 1; j <= m; ++j) {
            if (j == i)
                continue;
            const QString volume = odVolumeField(line, j);
            if (IntensiteitVervangen(doc.intensities, odIntensityName(a, diagramArm(j), k), volume) == 0)
                noteLeftOutVolume(files.context(), leftOut, QString::number(i), QString::number(j), volume);
        }
    }
    readClassBlocks(lines, m, k, diagramArm, classes);
    applyClassChoice(files.context(), shownName,
                     classChoiceFor(files.context(), QString(), QString()), classes, doc);
    if (armCount == QLatin1Char('2')) {
        // Two arms use the three-arm template; its arm 2 carries nothing.
        g.streetname[1].clear();
        for (const char* n : {"0003", "0004", "0006", "0007"})
            IntensiteitVervangen(doc.intensities, QString::fromLatin1(n), QStringLiteral("0"));
    }
    SchaalEtcGoedZetten(files);
    files.reportLeftOut(shownName, leftOut);
}

} // namespace korvimo
