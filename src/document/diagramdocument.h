#pragma once
// The one open diagram: general variables, the three lists as text lines
// exactly as stored, the notes, the file name and the modified flag.
#include <QObject>
#include <QStringList>

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

    bool isModified() const { return m_modified; }
    // Emits modifiedChanged when the flag flips.
    void setModified(bool on);
    // Every edit calls this once it has changed the document: sets the flag
    // and tells the views.
    void markChanged();
    // Tells the views that the content was replaced (a reading, a new
    // document) without touching the modified flag.
    void announceChanged();

    // Empties the three lists and the notes; general variables, file name
    // and flag stay.
    void clearLists();

Q_SIGNALS:
    void changed();
    void modifiedChanged(bool modified);

private:
    bool m_modified = false;
};

// The main window's caption for a document of that file name: the program
// name, then " - " and the file name without its folder when that is not
// empty.
QString programmaCaption(const QString& fileName);

} // namespace korvimo
