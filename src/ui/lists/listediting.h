#pragma once
// The main-window side of editing: add, change and delete in the three
// lists of the compose view, the script-line clipboard, the Edit menu's
// copies and the volume-list paste, undo and redo, and the diagram dialogs
// (format, texts, notes, change all). The dialogs are built the first time
// they are needed and kept until the program ends.
//
// Every edit ends the same way: the document records the change (one undo
// step), the enabling of the commands is brought up to date, and the
// diagram is redrawn.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QListWidget;
class QWidget;

namespace korvimo {

class DiagramDocument;
class TAantekeningenForm;
class TAlleIntensiteitenWijzigenForm;
class TCoordForm;
class THoofdForm;
class TIntForm;
class TKleurForm;
class TOpmaakForm;
class TScriptForm;
class TTextForm;
class ViewController;
struct ProgramContext;
struct WindowWiring;

class ListEditing final : public QObject {
    Q_OBJECT
public:
    explicit ListEditing(const WindowWiring& w);
    ~ListEditing() override;

    // Compose view, one per list.
    void ScriptAddButtonClick();
    void ScriptEditButtonClick();
    void ScriptDelButtonClick();
    void ScriptCopyButtonClick();
    void ScriptPasteButtonClick();
    void CoordAddButtonClick();
    void CoordEditButtonClick();
    void CoordDelButtonClick();
    void IntAddButtonClick();
    void IntEditButtonClick();
    void IntDelButtonClick();

    // Edit menu.
    void copyScript();
    void copyVolumeList();
    void pasteVolumeList();
    void undo();
    void redo();

    // Diagram menu.
    void showFormat();
    void showTexts();
    void showNotes();
    void showChangeAll();
    // "Vergelijken met...": the open diagram against a second file chosen
    // in the open dialog.
    void compareWith();

    const QString& scriptClipboard() const { return m_scriptClipboard; }
    void clearScriptClipboard() { m_scriptClipboard.clear(); }

    // The dialogs, built on first use.
    TScriptForm& scriptForm();
    TCoordForm& coordForm();
    TIntForm& intForm();
    TKleurForm& kleurForm();
    TOpmaakForm& opmaakForm();
    TTextForm& textForm();
    TAantekeningenForm& notesForm();
    TAlleIntensiteitenWijzigenForm& changeAllForm();

    // The exit step for the dialogs built in this run; one never shown keeps
    // its entry from the run before.
    void collectPositions();

    // Ends an edit: records it as one undo step named `what`, updates the
    // enabling and redraws.
    void finishEdit(const QString& what);
    // The same without the redraw, for edits that redraw on their own terms.
    void markEdited(const QString& what);

private:
    void connectLists();
    void deleteLine(QListWidget* list, QStringList& lines, const QString& what);
    void runCoordForm(bool fromPick);
    void coordinatePicked(QPoint position);
    // Writes pending edits of the overview grid into the volume list and
    // records them, so that undo starts from what the user sees.
    void flushGrid();
    void afterHistoryStep();
    QString text(const char* key, const QString& base) const;
    // Every dialog goes back where the user left it in the last run.
    void place(QWidget& dialog);
    template <class Dialog> Dialog* placed(Dialog* dialog)
    {
        place(*dialog);
        return dialog;
    }

    THoofdForm& m_form;
    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    ViewController& m_views;
    QString m_scriptClipboard;
    bool m_gridEdited = false;
    TScriptForm* m_script = nullptr;
    TCoordForm* m_coord = nullptr;
    TIntForm* m_int = nullptr;
    TKleurForm* m_kleur = nullptr;
    TOpmaakForm* m_opmaak = nullptr;
    TTextForm* m_text = nullptr;
    TAantekeningenForm* m_notes = nullptr;
    TAlleIntensiteitenWijzigenForm* m_changeAll = nullptr;
    QList<QPointer<QWidget>> m_placed;
};

} // namespace korvimo
