#include "ui/mainwindow/mainactionlist.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "uikit/icons.h"

namespace korvimo {

namespace {

struct MenuEntry {
    const char* name;
    const char* caption;
};

const MenuEntry kMenus[] = {
    {"BestandMenu", "&Bestand"}, {"BewerkenMenu", "Be&werken"}, {"DiagramMenu", "Diagr&am"},
    {"BeeldMenu", "Beel&d"},     {"ExtraMenu", "E&xtra"},       {"HelpMenu", "&Help"},
};

// Commands after which a menu gets a separator line.
const char* const kSeparatorAfter[] = {"EditRedoAction", "FileSaveAsAction", "FileCloseAction", "FilePrintAction",
                                       "EditPasteOvIntAction", "EditCopyScriptAction", "DiagramTextsAction",
                                       "ShowCreateAction", "ShowPanExactlyAction", "ShowIntersectionsAction",
                                       "ExtraSettingsAction", "HelpReadMeAction", "HelpInternetAction"};

// Tool bar order; "|" is a separator.
const char* const kToolBar[] = {"FileNewAction", "FileOpenAction", "FileSaveAction", "FileCloseAction",
                                "FileExportAction", "FilePrintAction", "|", "EditCopyDiagramAction", "|",
                                "DiagramArmsAction", "DiagramFormatAction", "DiagramTextsAction", "|",
                                "ShowViewAction", "ShowCreateAction", "|", "ShowZoomOutAction",
                                "ShowZoomInAction", "ShowZoomAllAction", "ShowPanAction", "ShowLightDarkAction",
                                "ShowCoordinatesAction", "|", "HelpContentsAction", "HelpInternetAction",
                                "AsServerAction"};

} // namespace

const QList<CommandEntry>& commandTable()
{
    static const QList<CommandEntry> table = {
        {"BestandMenu", "FileNewAction", "&Nieuw...", "Ctrl+N", "new", false},
        {"BestandMenu", "FileOpenAction", "&Openen...", "Ctrl+O", "open", false},
        {"BestandMenu", "FileSaveAction", "Op&slaan", "Ctrl+S", "save", false},
        {"BestandMenu", "FileSaveAsAction", "O&pslaan als...", "", "", false},
        {"BestandMenu", "FileCloseAction", "Sl&uiten", "Ctrl+W", "close", false},
        {"BestandMenu", "FileImportAction", "Importeren...", "", "", false},
        {"BestandMenu", "FileExportAction", "&Exporteren...", "Ctrl+E", "export", false},
        {"BestandMenu", "FilePrintAction", "Af&drukken...", "Ctrl+P", "print", false},
        {"BestandMenu", "FileQuitAction", "&Afsluiten", "Alt+F4", "", false},
        {"BewerkenMenu", "EditUndoAction", "&Ongedaan maken", "Ctrl+Z", "", false},
        {"BewerkenMenu", "EditRedoAction", "Opnieuw &uitvoeren", "Ctrl+Y", "", false},
        {"BewerkenMenu", "EditCopyOvIntAction", "Intensiteitenlijst &kopi\u00ebren", "", "", false},
        {"BewerkenMenu", "EditPasteOvIntAction", "Intensiteitenlijst &plakken", "", "", false},
        {"BewerkenMenu", "EditCopyScriptLineAction", "Scriptregel kopi\u00ebren", "", "", false},
        {"BewerkenMenu", "EditPasteScriptLineAction", "Scriptregel plakken", "", "", false},
        {"BewerkenMenu", "EditCopyScriptAction", "Script kopi\u00ebren", "", "", false},
        {"BewerkenMenu", "EditCopyDiagramAction", "&Diagram kopi\u00ebren", "", "copydiagram", false},
        {"DiagramMenu", "DiagramArmsAction", "&Armen", "F3", "arms", false},
        {"DiagramMenu", "DiagramFormatAction", "&Opmaak", "F4", "format", false},
        {"DiagramMenu", "DiagramTextsAction", "&Teksten", "F5", "texts", false},
        {"DiagramMenu", "DiagramNotesAction", "Aa&ntekeningen", "", "", false},
        {"DiagramMenu", "DiagramChangeAllVolumesAction", "Alle &intensiteiten wijzigen...", "", "", false},
        {"DiagramMenu", "DiagramCompareAction", "&Vergelijken met...", "", "", false},
        {"BeeldMenu", "ShowViewAction", "&Overzicht", "", "overview", true},
        {"BeeldMenu", "ShowCreateAction", "Op&stellen", "", "compose", true},
        {"BeeldMenu", "ShowZoomOutAction", "Zoom &uit", "", "zoomout", false},
        {"BeeldMenu", "ShowZoomInAction", "Zoom &in", "", "zoomin", false},
        {"BeeldMenu", "ShowZoomAllAction", "Zoom vo&lledig", "F8", "zoomall", false},
        {"BeeldMenu", "ShowPanAction", "&Verschuif", "", "pan", true},
        {"BeeldMenu", "ShowPanExactlyAction", "Zoom/verschuif &exact...", "", "", false},
        {"BeeldMenu", "ShowLightDarkAction", "Lic&hte/donkere achtergrond", "Shift+F5", "lightdark", true},
        {"BeeldMenu", "ShowCoordinatesAction", "&Co\u00f6rdinaten tonen", "Shift+F6", "coordinates", true},
        {"BeeldMenu", "ShowDirectionsAction", "Richtingen tonen", "Shift+F7", "", true},
        {"BeeldMenu", "ShowIntersectionsAction", "&Snijpunten tonen", "", "", true},
        {"BeeldMenu", "ShowRedrawAction", "Opnieuw &tekenen", "F9", "", false},
        {"ExtraMenu", "ExtraLanguageAction", "&Language", "", "", false},
        {"ExtraMenu", "ExtraSettingsAction", "Programma-&instellingen", "", "", false},
        {"ExtraMenu", "ExtraConfigurationInfoAction", "&Configuration info", "", "", false},
        {"HelpMenu", "HelpContentsAction", "In&houd", "F1", "help", false},
        {"HelpMenu", "HelpFaqAction", "&Veel gestelde vragen", "", "", false},
        {"HelpMenu", "HelpReadMeAction", "&LeesMij.txt", "", "", false},
        {"HelpMenu", "HelpInternetAction", "&Op internet...", "", "internet", false},
        {"HelpMenu", "HelpInfoAction", "&Info", "", "", false},
        // Not in a menu: the hidden tool-bar button that shows the server window.
        {"", "AsServerAction", "AsServer", "", "server", false},
    };
    return table;
}

MainActionList::MainActionList(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("MainActionList"));
    for (const CommandEntry& e : commandTable()) {
        auto* a = new QAction(QString::fromUtf8(e.caption), this);
        const QString name = QString::fromLatin1(e.name);
        a->setObjectName(name);
        if (*e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        if (*e.icon)
            a->setIcon(uikit::programIcon(QString::fromLatin1(e.icon)));
        a->setCheckable(e.checkable);
        // Menus show no images; the tool bar does.
        a->setIconVisibleInMenu(false);
        QString hint = a->text();
        hint.remove(QLatin1Char('&'));
        if (hint.endsWith(QLatin1String("...")))
            hint.chop(3);
        if (!a->shortcut().isEmpty())
            hint += QStringLiteral(" (") + a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')');
        a->setToolTip(hint);
        a->setStatusTip(hint);
        m_actions.insert(name, a);
        m_ordered.append(a);
    }
}

QAction* MainActionList::action(const QString& name) const { return m_actions.value(name); }

void MainActionList::buildMenus(QMenuBar& menuBar) const
{
    menuBar.setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuEntry& m : kMenus) {
        QMenu* menu = menuBar.addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        for (const CommandEntry& e : commandTable()) {
            if (qstrcmp(e.menu, m.name) != 0)
                continue;
            menu->addAction(action(QString::fromLatin1(e.name)));
            for (const char* after : kSeparatorAfter) {
                if (qstrcmp(after, e.name) == 0)
                    menu->addSeparator();
            }
        }
    }
}

void MainActionList::buildToolBar(QToolBar& toolBar) const
{
    toolBar.setObjectName(QStringLiteral("MainToolBar"));
    for (const char* name : kToolBar) {
        if (qstrcmp(name, "|") == 0)
            toolBar.addSeparator();
        else
            toolBar.addAction(action(QString::fromLatin1(name)));
    }
}

} // namespace korvimo
