// ListEditing: the Diagram menu's dialogs (format, texts, notes, change
// all volumes, compare with).
#include <QDialog>

#include "core/programcontext.h"
#include "document/comparefile.h"
#include "document/diagramdocument.h"
#include "document/filecommands.h"
#include "document/integertext.h"
#include "document/intensitychange.h"
#include "ui/dialogs/taantekeningenform.h"
#include "ui/dialogs/talleintensiteitenwijzigenform.h"
#include "ui/dialogs/topmaakform.h"
#include "ui/dialogs/ttextform.h"
#include "ui/lists/dialogparts.h"
#include "ui/lists/listediting.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/viewcontroller.h"

namespace korvimo {

TOpmaakForm& ListEditing::opmaakForm()
{
    if (!m_opmaak)
        m_opmaak = placed(new TOpmaakForm(m_ctx, m_doc, &m_form));
    return *m_opmaak;
}

TTextForm& ListEditing::textForm()
{
    if (!m_text)
        m_text = placed(new TTextForm(m_ctx, m_doc, &m_form));
    return *m_text;
}

TAantekeningenForm& ListEditing::notesForm()
{
    if (!m_notes)
        m_notes = placed(new TAantekeningenForm(m_doc, &m_form));
    return *m_notes;
}

TAlleIntensiteitenWijzigenForm& ListEditing::changeAllForm()
{
    if (!m_changeAll)
        m_changeAll = placed(new TAlleIntensiteitenWijzigenForm(m_ctx, &m_form));
    return *m_changeAll;
}

void ListEditing::showFormat()
{
    flushGrid();
    TOpmaakForm& f = opmaakForm();
    if (f.exec() != QDialog::Accepted)
        return;
    BusyCursor busy;
    if (f.store()) {
        markEdited(f.windowTitle());
        m_views.SchaalEditUpdaten();
    }
    m_views.OpnieuwTekenen();
}

void ListEditing::showTexts()
{
    TTextForm& f = textForm();
    if (f.exec() != QDialog::Accepted)
        return;
    BusyCursor busy;
    if (f.store())
        markEdited(f.windowTitle());
    m_views.OpnieuwTekenen();
}

void ListEditing::showNotes()
{
    TAantekeningenForm& f = notesForm();
    f.exec();
    if (f.takeChange()) {
        markEdited(f.windowTitle());
    } else {
        // The check box may have been set back to what it was: no change,
        // and nothing for the history either.
        m_doc.recordChange(f.windowTitle());
    }
}

void ListEditing::showChangeAll()
{
    flushGrid();
    TAlleIntensiteitenWijzigenForm& f = changeAllForm();
    if (f.exec() != QDialog::Accepted)
        return;
    {
        BusyCursor busy;
        try {
            AlleIntensiteitenWijzigen(m_doc.intensities, f.mode(), f.value());
        } catch (const ConversionError& e) {
            // The lines before the bad one stay changed: that is recorded too.
            markEdited(f.windowTitle());
            m_views.OpnieuwTekenen();
            throw;
        }
        markEdited(f.windowTitle());
    }
    if (m_views.state().view == ViewKind::Overview)
        m_views.rebuildVolumeGrid();
    m_views.OpnieuwTekenen();
}

void ListEditing::compareWith()
{
    flushGrid();
    FileCommands& commands = m_form.fileCommands();
    const QString name =
        commands.dialogs.openFileName ? commands.dialogs.openFileName(FileCommands::openFilter()) : QString();
    if (name.isEmpty())
        return;
    {
        BusyCursor busy;
        if (!VergelijkenMet(m_form.diagramFile(), name))
            return;
        markEdited(text("AA00256", QStringLiteral("Vergelijken")));
    }
    if (m_views.state().view == ViewKind::Overview)
        m_views.rebuildVolumeGrid();
    m_views.OpnieuwTekenen();
}

} // namespace korvimo
