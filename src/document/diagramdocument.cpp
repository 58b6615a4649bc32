#include "document/diagramdocument.h"

#include <QFileInfo>

#include "core/programpaths.h"

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

void DiagramDocument::announceChanged() { Q_EMIT changed(); }

void DiagramDocument::clearLists()
{
    script.clear();
    coordinates.clear();
    intensities.clear();
    notes.clear();
}

QString programmaCaption(const QString& fileName)
{
    QString caption = QString::fromLatin1(kProgramName);
    const QString name = QFileInfo(fileName).fileName();
    if (!name.isEmpty())
        caption += QStringLiteral(" - ") + name;
    return caption;
}

} // namespace korvimo
