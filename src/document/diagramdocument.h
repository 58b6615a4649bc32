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

    bool isModified() const { return m_modified; }
    // Emits modifiedChanged when the flag flips.
    void setModified(bool on);
    // Every edit calls this once it has changed the document: sets the flag
    // and tells the views.
    void markChanged();

Q_SIGNALS:
    void changed();
    void modifiedChanged(bool modified);

private:
    bool m_modified = false;
};

} // namespace korvimo
