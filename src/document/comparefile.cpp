#include "document/comparefile.h"

#include <QFileInfo>

#include "core/programcontext.h"
#include "document/comparison.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"

namespace korvimo {

bool VergelijkenMet(DiagramFile& file, const QString& scenarioName)
{
    ProgramContext& ctx = file.context();
    DiagramDocument& doc = file.document();

    // The scenario is read beside the open diagram, not into it: its reading
    // must leave the open diagram, the windows and the export width alone.
    DiagramDocument scenario;
    DiagramFile reader(ctx, scenario);
    reader.setTemplateLibrary(file.templateLibrary());
    reader.BasisInstellingenDatabestand();
    scenario.fileName = reader.untitledName();
    const int exportWidth = ctx.settings.exportBmpSize;
    ErrorCountingMessenger counting(ctx.messages());
    Messenger* const previous = ctx.messenger;
    ctx.messenger = &counting;
    const bool read = reader.StromenBestandOpenen(scenarioName) == OpenResult::Read && counting.errors == 0;
    ctx.messenger = previous;
    ctx.settings.exportBmpSize = exportWidth;
    if (!read)
        return false;

    DocumentContent result;
    const ComparisonOutcome outcome =
        compareDiagrams(doc.content(), scenario.content(), ComparisonOptions::fromSettings(ctx.settings), ctx.texts,
                        QFileInfo(doc.fileName).fileName(), QFileInfo(scenarioName).fileName(), result);
    if (!outcome.ok) {
        ctx.messages().error(outcome.message);
        return false;
    }
    doc.general = result.general;
    doc.script = result.script;
    doc.coordinates = result.coordinates;
    doc.intensities = result.intensities;
    doc.notes = result.notes;
    doc.fileName = file.untitledName();
    file.ProgrammaCaptionUpdaten();
    return true;
}

} // namespace korvimo
