#include "document/documentundo.h"

#include "document/diagramdocument.h"

namespace korvimo {

DocumentEditCommand::DocumentEditCommand(DiagramDocument& doc, DocumentContent before, DocumentContent after,
                                         const QString& text)
    : QUndoCommand(text), m_doc(doc), m_before(std::move(before)), m_after(std::move(after))
{
}

void DocumentEditCommand::undo() { m_doc.restoreContent(m_before); }

void DocumentEditCommand::redo()
{
    // QUndoStack::push calls redo at once; the edit has happened already.
    if (m_applied) {
        m_applied = false;
        return;
    }
    m_doc.restoreContent(m_after);
}

} // namespace korvimo
