#pragma once
// The one open diagram: general variables, the three lists as text lines
// exactly as stored, the notes, the file name and the modified flag.
#include <QObject>
#include <QStringList>
#include <QUndoStack>

#include "document/documentundo.h"
#include "document/generalvariables.h"

namespace korvimo {

class DiagramDocument : public QObject {
    Q_OBJECT
public:
    explicit DiagramDocument(QObject* parent = nullptr);

    GeneralVariables general;
    QStringList script;      // ScriptLine per entry, drawn in list order
    QStringList coordinates; // CoordinateLine per entry
    QStringList intensities; // IntensityLine per entry
    QStringList notes;
    QString fileName; // a real path, or the untitled name
    // The notes window's own change mark: set when the user edits the notes,
    // cleared by the readers; the notes window turns it into the modified
    // flag when it closes.
    bool notesChanged = false;

    // The flag is set while the undo history is away from the state last
    // saved, opened or made new, and after any change that the history could
    // not record. Emits modifiedChanged when it flips.
    bool isModified() const { return m_modified; }
    // false: the document is as stored (a save, a new document, an open):
    // the history marks this point clean. true: counts as changed whatever
    // the history says.
    void setModified(bool on);
    // Every edit calls this once it has changed the document: records the
    // change as one undoable step named `what`, sets the flag and tells the
    // views. A call that finds nothing changed still sets the flag.
    void markChanged(const QString& what = QString());
    // Records what changed since the last recorded state as one undoable
    // step, without telling anyone; false when nothing changed. For changes
    // that are made behind the edits' back (the overview grid's write-back).
    bool recordChange(const QString& what = QString());
    // Tells the views that the content was replaced (a reading, a new
    // document) without touching the modified flag. The undo history starts
    // again from here: there is no way back into another document.
    void announceChanged();

    QUndoStack& undoStack() { return m_undo; }
    DocumentContent content() const;
    // Puts a recorded state back (undo and redo) and tells the views.
    void restoreContent(const DocumentContent& c);

    // Empties the three lists and the notes; general variables, file name
    // and flag stay.
    void clearLists();

Q_SIGNALS:
    void changed();
    void modifiedChanged(bool modified);

private:
    void updateModified();

    bool m_modified = false;
    bool m_unrecorded = false; // changed in a way the history does not hold
    QUndoStack m_undo;
    DocumentContent m_recorded; // the state the history's current step left
};

// The main window's caption for a document of that file name: the program
// name, then " - " and the file name without its folder when that is not
// empty.
QString programmaCaption(const QString& fileName);

} // namespace korvimo
