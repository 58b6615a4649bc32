#include "ui/help/windowcatalog.h"

#include "document/library.h"
#include "server/asserver.h"
#include "ui/dialogs/taantekeningenform.h"
#include "ui/dialogs/tafdrukkenform.h"
#include "ui/dialogs/talleintensiteitenwijzigenform.h"
#include "ui/dialogs/tarmenform.h"
#include "ui/dialogs/tconfiggegevensform.h"
#include "ui/dialogs/tcoordform.h"
#include "ui/dialogs/texporterenform.h"
#include "ui/dialogs/tintensiteitensomform.h"
#include "ui/dialogs/tintform.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/dialogs/tlanguageform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/dialogs/topmaakform.h"
#include "ui/dialogs/tproginstelform.h"
#include "ui/dialogs/tscriptform.h"
#include "ui/dialogs/tserverform.h"
#include "ui/dialogs/ttextform.h"
#include "ui/help/thelpform.h"
#include "ui/help/topinternetform.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/tzoomfactorform.h"

namespace korvimo {

const QList<CatalogEntry>& windowCatalog()
{
    // One line per window, in the order a language file lists them.
    static const QList<CatalogEntry> table = {
        {"HoofdForm", [](const WindowWiring& w) { return existing(w.form); }},
        {"OpstartInfoForm", [](const WindowWiring& w) { return existing(w.form.startupInfo()); }},
        {"NieuwForm", [](const WindowWiring& w) {
             auto library = std::make_shared<DiagramLibrary>(w.ctx);
             return fresh(new TNieuwForm(w.ctx, *library, w.form.diagramFile(), &w.form), library);
         }},
        {"AantekeningenForm", [](const WindowWiring& w) { return fresh(new TAantekeningenForm(w.doc, &w.form)); }},
        {"AlleIntensiteitenWijzigenForm",
         [](const WindowWiring& w) { return fresh(new TAlleIntensiteitenWijzigenForm(w.ctx, &w.form)); }},
        {"ProgInstelForm", [](const WindowWiring& w) { return fresh(new TProgInstelForm(w.ctx, &w.form)); }},
        {"OpInternetForm", [](const WindowWiring& w) { return fresh(new TOpInternetForm(w.ctx, &w.form)); }},
        {"CoordForm", [](const WindowWiring& w) { return fresh(new TCoordForm(w.ctx, &w.form)); }},
        {"IntForm", [](const WindowWiring& w) { return fresh(new TIntForm(w.ctx, &w.form)); }},
        {"ScriptForm", [](const WindowWiring& w) {
             // The volume-function and colour dialogs that the script dialog
             // opens, kept until the script dialog is gone.
             auto helpers = std::make_shared<std::pair<std::unique_ptr<QWidget>, std::unique_ptr<QWidget>>>(
                 new TIntensiteitenSomForm(w.ctx, w.doc, &w.form), new TKleurForm(w.doc, &w.form));
             auto& functions = static_cast<TIntensiteitenSomForm&>(*helpers->first);
             auto& colours = static_cast<TKleurForm&>(*helpers->second);
             return fresh(new TScriptForm(w.ctx, w.doc, functions, colours, &w.form), helpers);
         }},
        {"OpmaakForm", [](const WindowWiring& w) { return fresh(new TOpmaakForm(w.ctx, w.doc, &w.form)); }},
        {"TextForm", [](const WindowWiring& w) { return fresh(new TTextForm(w.ctx, w.doc, &w.form)); }},
        {"ZoomFactorForm", [](const WindowWiring& w) { return existing(w.form.zoomForm()); }},
        {"IntensiteitenSomForm",
         [](const WindowWiring& w) { return fresh(new TIntensiteitenSomForm(w.ctx, w.doc, &w.form)); }},
        {"KleurForm", [](const WindowWiring& w) { return fresh(new TKleurForm(w.doc, &w.form)); }},
        {"ArmenForm", [](const WindowWiring& w) { return fresh(new TArmenForm(w.ctx, w.doc, &w.form)); }},
        {"ExporterenForm", [](const WindowWiring& w) { return fresh(new TExporterenForm(w.ctx, w.doc, &w.form)); }},
        {"AfdrukkenForm", [](const WindowWiring& w) { return fresh(new TAfdrukkenForm(w.ctx, w.doc, &w.form)); }},
        {"HelpForm", [](const WindowWiring& w) { return fresh(new THelpForm(&w.form)); }},
        // Designed in English and never translated (the language dialog must
        // stay readable whatever language is chosen); listed so that the
        // translation template holds every window of the program.
        {"ConfigGegevensForm", [](const WindowWiring& w) { return fresh(new TConfigGegevensForm(&w.form)); }},
        {"ServerForm", [](const WindowWiring& w) {
             auto server = std::make_shared<AsServer>(w.ctx);
             return fresh(new TServerForm(*server, &w.form), server);
         }},
        {"LanguageForm", [](const WindowWiring& w) { return fresh(new TLanguageForm(w.ctx, &w.form)); }},
    };
    return table;
}

QList<WindowTexts> catalogWindowTexts(const WindowWiring& w)
{
    QList<WindowTexts> out;
    for (const CatalogEntry& e : windowCatalog()) {
        CatalogWindow c = e.make(w);
        if (c.window)
            out << collectWindowTexts(*c.window).texts;
    }
    return out;
}

} // namespace korvimo
