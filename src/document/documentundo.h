#pragma once
// Undo and redo of edits to the open diagram. An edit is recorded as the
// difference between two snapshots of the document's content: the state
// after the previous recorded step and the state now. Snapshots are cheap
// (the lists share their text until one side changes), and recording the
// whole content means no edit can slip past the history, whichever window
// made it.
#include <QString>
#include <QStringList>
#include <QUndoCommand>

#include "document/generalvariables.h"

namespace korvimo {

class DiagramDocument;

// Everything of a document that an edit can change; the file name and the
// modified flag are not part of it.
struct DocumentContent {
    GeneralVariables general;
    QStringList script;
    QStringList coordinates;
    QStringList intensities;
    QStringList notes;

    bool operator==(const DocumentContent&) const = default;
};

// One recorded step. Pushing it does not apply it again (the edit is
// already done); undo puts `before` back, redo puts `after` back.
class DocumentEditCommand final : public QUndoCommand {
public:
    DocumentEditCommand(DiagramDocument& doc, DocumentContent before, DocumentContent after, const QString& text);

    void undo() override;
    void redo() override;

    const DocumentContent& before() const { return m_before; }
    const DocumentContent& after() const { return m_after; }

private:
    DiagramDocument& m_doc;
    DocumentContent m_before;
    DocumentContent m_after;
    bool m_applied = true;
};

} // namespace korvimo
