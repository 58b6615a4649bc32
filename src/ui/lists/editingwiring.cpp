#include "document/diagramfile.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/lists/listediting.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

void wireEditingWindows(const WindowWiring& w)
{
    auto* e = new ListEditing(w);
    THoofdForm& f = w.form;
    f.provideCommand(QStringLiteral("EditUndoAction"), [e] { e->undo(); });
    f.provideCommand(QStringLiteral("EditRedoAction"), [e] { e->redo(); });
    f.provideCommand(QStringLiteral("EditCopyOvIntAction"), [e] { e->copyVolumeList(); });
    f.provideCommand(QStringLiteral("EditPasteOvIntAction"), [e] { e->pasteVolumeList(); });
    f.provideCommand(QStringLiteral("EditCopyScriptLineAction"), [e] { e->ScriptCopyButtonClick(); });
    f.provideCommand(QStringLiteral("EditPasteScriptLineAction"), [e] { e->ScriptPasteButtonClick(); });
    f.provideCommand(QStringLiteral("EditCopyScriptAction"), [e] { e->copyScript(); });
    f.provideCommand(QStringLiteral("DiagramFormatAction"), [e] { e->showFormat(); });
    f.provideCommand(QStringLiteral("DiagramTextsAction"), [e] { e->showTexts(); });
    f.provideCommand(QStringLiteral("DiagramNotesAction"), [e] { e->showNotes(); });
    f.provideCommand(QStringLiteral("DiagramChangeAllVolumesAction"), [e] { e->showChangeAll(); });
    f.provideCommand(QStringLiteral("DiagramCompareAction"), [e] { e->compareWith(); });

    // The colour dialog the script editor uses serves the other windows
    // too, preset with their colour as "Other color".
    f.chooseColour = [e](int current) -> std::optional<int> {
        TKleurForm& colours = e->kleurForm();
        colours.setColourText(QString::number(current));
        colours.ComboBoxGelijkZettenMetColorEdit();
        if (colours.exec() != QDialog::Accepted)
            return std::nullopt;
        return colours.swatchColour();
    };
    f.writeSettings = [e, write = f.writeSettings] {
        e->collectPositions();
        callHook(write);
    };

    // A new diagram and every open empty the script-line clipboard along
    // with the rest of the view state.
    DocumentHooks& hooks = f.diagramFile().hooks;
    hooks.showNotesDialog = [e] { e->showNotes(); };
    hooks.resetViewState = [e, old = hooks.resetViewState] {
        callHook(old);
        e->clearScriptClipboard();
    };
}

} // namespace korvimo
