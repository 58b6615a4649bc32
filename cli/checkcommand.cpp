// korvimo-cli check INPUT: draws the diagram with the intersections shown
// and prints the check dump, the registers of every drawn element.
#include <cstdio>

#include "canvas/metafile.h"
#include "cli/clicommands.h"
#include "cli/inputdocument.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "render/maakmeta.h"

namespace korvimo::cli {

int checkCommand(const QStringList& args, ProgramContext& ctx)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return usageError(QStringLiteral("check needs exactly one INPUT"));
    DiagramDocument doc;
    const InputRead read = openInput(args[0], ctx, doc);
    if (read == InputRead::Failed)
        return 1;
    ctx.view.showIntersections = true;
    Metafile target;
    const RenderOutcome outcome = MaakMeta(doc, ctx, target, QStringLiteral("EMF"), QStringLiteral("E"));
    const QByteArray text = outcome.checkList.join(QLatin1Char('\n')).toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    return exitStatus(read, outcome.completed && outcome.brokenLines == 0);
}

} // namespace korvimo::cli
