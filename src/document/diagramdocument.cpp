#include "document/diagramdocument.h"

namespace korvimo {

DiagramDocument::DiagramDocument(QObject* parent) : QObject(parent) {}

void DiagramDocument::setModified(bool on)
{
    if (m_modified == on)
        return;
    m_modified = on;
    Q_EMIT modifiedChanged(on);
}

void DiagramDocument::markChanged()
{
    setModified(true);
    Q_EMIT changed();
}

} // namespace korvimo
