#include "document/filecommands.h"

#include <QFileInfo>

#include "core/programcontext.h"
#include "document/diagramfile.h"
#include "document/textfile.h"

namespace korvimo {

QString FileCommands::openFilter()
{
    return QStringLiteral("Korvimo files (*.kvo);;OD-file (*.in);;CSV-file (*.csv);;Kvoimp-file (*.kvoimp)");
}

QString FileCommands::saveFilter() { return QStringLiteral("Korvimo files (*.kvo);;Alle files (*)"); }

bool FileCommands::NieuwBestandMaken()
{
    if (!mayReplace())
        return false;
    makeNewDocument();
    return true;
}

bool FileCommands::mayReplace()
{
    ProgramContext& ctx = m_file.context();
    DiagramDocument& doc = m_file.document();
    const LanguageTexts& t = ctx.texts;
    if (doc.isModified()) {
        const int answer = ctx.messages().question(
            t.text(QStringLiteral("AA00194")), t.format(QStringLiteral("AA00196"), {doc.fileName}),
            t.text(QStringLiteral("ZB00011")), t.text(QStringLiteral("ZB00012")),
            t.text(QStringLiteral("ZB00013")));
        if (answer == Messenger::Yes) {
            Opslaan1Click();
            return false;
        }
        if (answer != Messenger::No)
            return false;
    }
    return true;
}

void FileCommands::makeNewDocument()
{
    DiagramDocument& doc = m_file.document();
    m_file.BasisInstellingenDatabestand();
    doc.fileName = m_file.untitledName();
    doc.clearLists();
    doc.notesChanged = false;
    m_file.ProgrammaCaptionUpdaten();
    doc.setModified(false);
    const DocumentHooks& h = m_file.hooks;
    callHook(h.updateMenu);
    callHook(h.rebuildOverview);
    callHook(h.zoomAll);
    callHook(h.redraw);
    doc.announceChanged();
}

bool FileCommands::Openen1Click()
{
    if (!mayReplace())
        return false;
    const QString name = dialogs.openFileName ? dialogs.openFileName(openFilter()) : QString();
    if (name.isEmpty())
        return false;
    ProgramContext& ctx = m_file.context();
    // Nothing of the open document is given up for a file that will not
    // open: the open procedure would report it on an emptied document.
    if (!textfile::isReadable(name)) {
        ctx.messages().error(ctx.texts.format(QStringLiteral("AA00005"), {name}));
        return false;
    }
    if (m_file.refuseNonDiagram(name))
        return false;
    makeNewDocument();
    const OpenResult r = m_file.StromenBestandOpenen(name);
    callHook(m_file.hooks.panToolOff);
    return r == OpenResult::Read || r == OpenResult::DataLeftOut;
}

bool FileCommands::Opslaan1Click()
{
    DiagramDocument& doc = m_file.document();
    if (doc.fileName == m_file.untitledName())
        return Opslaanals1Click();
    return m_file.StromenBestandOpslaan(doc.fileName);
}

bool FileCommands::Opslaanals1Click()
{
    ProgramContext& ctx = m_file.context();
    DiagramDocument& doc = m_file.document();
    const LanguageTexts& t = ctx.texts;
    QString name = dialogs.saveFileName
                       ? dialogs.saveFileName(saveFilter(), QFileInfo(doc.fileName).fileName())
                       : QString();
    if (name.isEmpty())
        return false;
    const QFileInfo fi(name);
    if (!fi.fileName().contains(QLatin1Char('.')) || fi.suffix() != QLatin1String("kvo"))
        name += QStringLiteral(".kvo");
    if (QFileInfo::exists(name)) {
        const int answer = ctx.messages().question(
            t.text(QStringLiteral("AA00195")), t.format(QStringLiteral("AA00006"), {name}),
            t.text(QStringLiteral("ZB00016")), t.text(QStringLiteral("ZB00017")),
            t.text(QStringLiteral("ZB00013")), Messenger::No);
        if (answer != Messenger::Yes)
            return false;
    }
    if (!m_file.StromenBestandOpslaan(name))
        return false;
    doc.fileName = name;
    m_file.ProgrammaCaptionUpdaten();
    callHook(m_file.hooks.redraw);
    return true;
}

void FileCommands::Importeren1Click()
{
    ProgramContext& ctx = m_file.context();
    ctx.messages().information(
        ctx.texts.format(QStringLiteral("AA00021"), {ctx.paths.programFolder + QStringLiteral("AddOn")}));
}

} // namespace korvimo
