#include "cli/inputdocument.h"

#include "core/inputfile.h"
#include "document/diagramfile.h"
#include "document/library.h"

namespace korvimo::cli {

bool refuseOutputOverInput(const QString& input, const QString& output, ProgramContext& ctx)
{
    if (!isSameFile(input, output))
        return false;
    ctx.messages().error(ctx.texts.format(QStringLiteral("AA00214"), {output, input}));
    return true;
}

bool openInput(const QString& input, ProgramContext& ctx, DiagramDocument& doc)
{
    ErrorCountingMessenger counting(ctx.messages());
    Messenger* const previous = ctx.messenger;
    ctx.messenger = &counting;
    DiagramFile file(ctx, doc);
    DiagramLibrary library(ctx);
    library.TekstenDiagramOphalenUitBestand();
    file.setTemplateLibrary(&library);
    file.BasisInstellingenDatabestand();
    doc.fileName = file.untitledName();
    const bool ok = file.StromenBestandOpenen(input) == OpenResult::Read && counting.errors == 0;
    ctx.messenger = previous;
    return ok;
}

} // namespace korvimo::cli
