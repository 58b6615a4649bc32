#include "ui/help/windowcatalog.h"

#include "document/library.h"
#include "ui/dialogs/tafdrukkenform.h"
#include "ui/dialogs/tarmenform.h"
#include "ui/dialogs/texporterenform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/dialogs/tproginstelform.h"
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
        {"ProgInstelForm", [](const WindowWiring& w) { return fresh(new TProgInstelForm(w.ctx, &w.form)); }},
        {"OpInternetForm", [](const WindowWiring& w) { return fresh(new TOpInternetForm(w.ctx, &w.form)); }},
        {"ZoomFactorForm", [](const WindowWiring& w) { return existing(w.form.zoomForm()); }},
        {"ArmenForm", [](const WindowWiring& w) { return fresh(new TArmenForm(w.ctx, w.doc, &w.form)); }},
        {"ExporterenForm", [](const WindowWiring& w) { return fresh(new TExporterenForm(w.ctx, w.doc, &w.form)); }},
        {"AfdrukkenForm", [](const WindowWiring& w) { return fresh(new TAfdrukkenForm(w.ctx, w.doc, &w.form)); }},
        {"HelpForm", [](const WindowWiring& w) { return fresh(new THelpForm(&w.form)); }},
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
