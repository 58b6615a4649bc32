// The windows around data and output, connected to the main window's
// commands. Each window is built the first time its command runs and then
// kept, so that it remembers what it holds between showings.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>
#include <QPointer>
#include <memory>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/library.h"
#include "output/clipboardcopy.h"
#include "ui/dialogs/dialoghelpers.h"
#include "ui/dialogs/texporterenform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/mainwindow/formpositions.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

namespace {

class DataOutputWindows final : public QObject {
public:
    explicit DataOutputWindows(const WindowWiring& w)
        : QObject(&w.form), m_form(w.form), m_ctx(w.ctx), m_doc(w.doc), m_library(w.ctx)
    {
        setObjectName(QStringLiteral("DataOutputWindows"));
    }

    DiagramLibrary& library() { return m_library; }

    TNieuwForm& newForm()
    {
        if (!m_new) {
            m_new = new TNieuwForm(m_ctx, m_library, m_form.diagramFile(), &m_form);
            place(*m_new);
        }
        return *m_new;
    }

    TExporterenForm& exportForm()
    {
        if (!m_export) {
            m_export = new TExporterenForm(m_ctx, m_doc, &m_form);
            place(*m_export);
        }
        return *m_export;
    }

private:
    void place(QWidget& window) { keepFormPosition(window, m_ctx.settings.formPositions, &m_form); }

    THoofdForm& m_form;
    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    DiagramLibrary m_library;
    QPointer<TNieuwForm> m_new;
    QPointer<TExporterenForm> m_export;
};

} // namespace

void wireDataOutputWindows(const WindowWiring& w)
{
    auto* windows = new DataOutputWindows(w);
    // The open procedure finds version-2 templates and the imports' start
    // diagrams in the same library the new-diagram dialog shows.
    w.form.diagramFile().setTemplateLibrary(&windows->library());

    w.form.showNewForm = [windows] { windows->newForm().exec(); };
    w.form.provideCommand(QStringLiteral("FileExportAction"), [windows] { windows->exportForm().exec(); });
    w.form.provideCommand(QStringLiteral("EditCopyDiagramAction"), [&ctx = w.ctx, &doc = w.doc] {
        dialogs::BusyCursor busy;
        if (std::unique_ptr<QMimeData> data = diagramCopyMimeData(doc, ctx))
            QGuiApplication::clipboard()->setMimeData(data.release());
    });
}

} // namespace korvimo
