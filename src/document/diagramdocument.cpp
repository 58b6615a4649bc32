#include "document/diagramdocument.h"

#include <QFileInfo>

#include "core/programpaths.h"

namespace korvimo {

namespace {
constexpr int kUndoLimit = 200;
}

DiagramDocument::DiagramDocument(QObject* parent) : QObject(parent)
{
    m_undo.setUndoLimit(kUndoLimit);
    m_recorded = content();
    connect(&m_undo, &QUndoStack::cleanChanged, this, &DiagramDocument::updateModified);
}

void DiagramDocument::updateModified()
{
    const bool on = m_unrecorded || !m_undo.isClean();
    if (m_modified == on)
        return;
    m_modified = on;
    Q_EMIT modifiedChanged(on);
}

void DiagramDocument::setModified(bool on)
{
    if (on) {
        m_unrecorded = true;
    } else {
        // What is stored now is the state to come back to; a change nobody
        // recorded is part of it from here on.
        m_unrecorded = false;
        m_recorded = content();
        m_undo.setClean();
    }
    updateModified();
}

DocumentContent DiagramDocument::content() const
{
    return {general, script, coordinates, intensities, notes};
}

bool DiagramDocument::recordChange(const QString& what)
{
    DocumentContent now = content();
    if (now == m_recorded)
        return false;
    DocumentContent before = std::move(m_recorded);
    m_recorded = now;
    m_undo.push(new DocumentEditCommand(*this, std::move(before), std::move(now), what));
    updateModified();
    return true;
}

void DiagramDocument::markChanged(const QString& what)
{
    if (!recordChange(what))
        m_unrecorded = true;
    updateModified();
    Q_EMIT changed();
}

void DiagramDocument::restoreContent(const DocumentContent& c)
{
    general = c.general;
    script = c.script;
    coordinates = c.coordinates;
    intensities = c.intensities;
    notes = c.notes;
    m_recorded = c;
    Q_EMIT changed();
}

void DiagramDocument::announceChanged()
{
    // Clearing the history marks it clean; a changed document stays changed.
    if (m_modified)
        m_unrecorded = true;
    m_undo.clear();
    m_recorded = content();
    updateModified();
    Q_EMIT changed();
}

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
