#include "ui/help/windowcatalog.h"

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
        {"OpInternetForm", [](const WindowWiring& w) { return fresh(new TOpInternetForm(w.ctx, &w.form)); }},
        {"ZoomFactorForm", [](const WindowWiring& w) { return existing(w.form.zoomForm()); }},
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
