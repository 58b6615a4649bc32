// korvimo-cli convert INPUT OUTPUT.kvo: reads anything the open procedure
// reads and writes it as a current diagram file.
#include <QFileInfo>

#include "cli/clicommands.h"
#include "cli/inputdocument.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"

namespace korvimo::cli {

int convertCommand(const QStringList& args, ProgramContext& ctx)
{
    if (args.size() != 2)
        return usageError(QStringLiteral("convert needs INPUT and OUTPUT.kvo"));
    const QString input = args[0];
    const QString output = args[1];
    if (QFileInfo(output).suffix().compare(QLatin1String("kvo"), Qt::CaseInsensitive) != 0)
        return usageError(QStringLiteral("the output of convert must be a .kvo file"));

    DiagramDocument doc;
    // A file that could not be read, or that is no diagram, is not
    // converted: writing an empty diagram in its place would look like
    // success. One that lost data on the way is written, and says so.
    const InputRead read = openInput(input, ctx, doc);
    if (read == InputRead::Failed)
        return 1;
    DiagramFile file(ctx, doc);
    return exitStatus(read, file.StromenBestandOpslaan(output));
}

} // namespace korvimo::cli
