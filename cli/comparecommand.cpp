// korvimo-cli compare BASE SCENARIO OUTPUT [--width N] [--percent] [--zero]:
// opens both data sets as the program does, builds the comparison diagram
// (band widths |scenario - base|, colours by sign, signed labels) and writes
// it as a diagram file (.kvo) or as a picture in the format OUTPUT's
// extension names (.emf .wmf .bmp .jpg .png .svg .pdf).
#include <QFileInfo>

#include "cli/clicommands.h"
#include "cli/inputdocument.h"
#include "document/comparison.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "output/exportfile.h"

namespace korvimo::cli {

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

bool pictureExtension(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    for (const char* e : {"emf", "wmf", "bmp", "jpg", "jpeg", "png", "svg", "pdf"})
        if (ext == QLatin1String(e))
            return true;
    return false;
}

} // namespace

int compareCommand(const QStringList& args, ProgramContext& ctx)
{
    QStringList files;
    int width = 0;
    ComparisonOptions options = ComparisonOptions::fromSettings(ctx.settings);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--width")) {
            if (const int bad = takeWidthOption(args, i, width))
                return bad;
        } else if (a == QLatin1String("--percent"))
            options.percentages = true;
        else if (a == QLatin1String("--zero"))
            options.zeroLabels = true;
        else if (a.startsWith(QLatin1String("--")))
            return usageError(QStringLiteral("unknown option \"%1\"").arg(a));
        else
            files.append(a);
    }
    if (files.size() != 3)
        return usageError(QStringLiteral("compare needs BASE, SCENARIO and OUTPUT"));
    const QString& output = files[2];
    const bool toDiagram = QFileInfo(output).suffix().compare(QLatin1String("kvo"), Qt::CaseInsensitive) == 0;
    if (!toDiagram && !pictureExtension(output))
        return usageError(QStringLiteral("cannot write \"%1\": unknown picture type").arg(output));
    if (sameFile(output, files[0]) || sameFile(output, files[1])) {
        ctx.messages().error(QStringLiteral("%1 would replace one of the files compared; nothing written.").arg(output));
        return 1;
    }

    DiagramDocument base, scenario;
    if (openInput(files[0], ctx, base) == InputRead::Failed)
        return 1;
    const int requestWidth = ctx.settings.exportBmpSize;
    if (openInput(files[1], ctx, scenario) == InputRead::Failed)
        return 1;
    if (width == 0)
        width = requestWidth; // the base's request width, when it was a request

    DocumentContent result;
    const ComparisonOutcome outcome =
        compareDiagrams(base.content(), scenario.content(), options, ctx.texts, QFileInfo(files[0]).fileName(),
                        QFileInfo(files[1]).fileName(), result);
    if (!outcome.ok) {
        ctx.messages().error(outcome.message);
        return 1;
    }
    DiagramDocument doc;
    doc.restoreContent(result);
    DiagramFile file(ctx, doc);
    doc.fileName = file.untitledName();
    if (toDiagram)
        return file.StromenBestandOpslaan(output) ? 0 : 1;

    ErrorCountingMessenger counting(ctx.messages());
    Messenger* const previous = ctx.messenger;
    ctx.messenger = &counting;
    const bool written = exportByExtension(doc, ctx, output, width, ctx.settings.exportPixAntiAliased);
    ctx.messenger = previous;
    return written && counting.errors == 0 ? 0 : 1;
}

} // namespace korvimo::cli
