#include "document/diagramprobe.h"

#include <QFileInfo>

#include "core/programcontext.h"
#include "document/csvfile.h"
#include "document/integertext.h"
#include "document/kvoimp.h"
#include "document/odfile.h"
#include "document/templatelibrary.h"
#include "document/textfile.h"

namespace korvimo {

namespace {

bool hasTemplate(TemplateLibrary* library, const QString& code)
{
    return library && !code.isEmpty() && library->hasTemplate(code);
}

bool isBlank(const QStringList& lines)
{
    for (const QString& l : lines) {
        if (!l.trimmed().isEmpty())
            return false;
    }
    return true;
}

QString diagramLinesProblem(const QStringList& lines, const LanguageTexts& texts)
{
    const QString first = lines.value(0);
    if (first == QLatin1String("100") || first == QLatin1String("210"))
        return {};
    for (const char* header : {"[**General variables**]", "[**Script**]", "[**Coordinates**]", "[**Intensities**]",
                               "[**Notes**]"}) {
        if (lines.contains(QLatin1String(header)))
            return {};
    }
    return texts.text(QStringLiteral("AA00198"));
}

QString kvoimpProblem(const QStringList& lines, const LanguageTexts& texts, TemplateLibrary* library)
{
    const QString code = kvoimpVariables(lines).baseDiagram;
    if (code.isEmpty())
        return texts.text(QStringLiteral("AA00207"));
    if (!hasTemplate(library, code))
        return texts.format(QStringLiteral("AA00201"), {code});
    return {};
}

} // namespace

QString odLinesProblem(const QStringList& od, const ProgramContext& ctx, TemplateLibrary* library)
{
    const LanguageTexts& texts = ctx.texts;
    const QString line2 = od.value(1);
    const OdTemplate tmpl = odTemplateFor(line2.size() >= 6 ? line2[5] : QChar());
    if (tmpl.code.isEmpty())
        return texts.text(QStringLiteral("AA00199"));
    if (!hasTemplate(library, tmpl.code))
        return texts.format(QStringLiteral("AA00201"), {tmpl.code});
    // The reader takes the arm lines there are; one readable volume among
    // them is enough to make a diagram of.
    for (int i = 1; i <= tmpl.armLines && 1 + i < od.size(); ++i) {
        for (int j = 1; j <= tmpl.armLines; ++j) {
            if (j != i && parseInteger(odVolumeField(od[1 + i], j)))
                return {};
        }
    }
    return texts.text(QStringLiteral("AA00200"));
}

QString notADiagramReason(const QString& name, const ProgramContext& ctx, TemplateLibrary* library)
{
    QStringList lines;
    if (!textfile::readLines(name, &lines))
        return {};
    if (isBlank(lines))
        return ctx.texts.text(QStringLiteral("AA00206"));
    const QString ext = QFileInfo(name).suffix().toLower();
    if (ext == QLatin1String("in"))
        return odLinesProblem(lines, ctx, library);
    if (ext == QLatin1String("csv"))
        return odLinesProblem(csvToOdLines(lines, ctx.settings.csvSep), ctx, library);
    if (ext == QLatin1String("kvoimp"))
        return kvoimpProblem(lines, ctx.texts, library);
    return diagramLinesProblem(lines, ctx.texts);
}

} // namespace korvimo
