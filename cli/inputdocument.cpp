#include "cli/inputdocument.h"

#include "document/diagramfile.h"
#include "document/library.h"

namespace korvimo::cli {

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
