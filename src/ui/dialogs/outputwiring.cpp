// The windows around data and output, connected to the main window's
// commands. Each window is built the first time its command runs and then
// kept, so that it remembers what it holds between showings.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QFileDialog>
#include <QObject>
#include <QPrinterInfo>
#include <QPointer>
#include <memory>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/filecommands.h"
#include "document/library.h"
#include "output/clipboardcopy.h"
#include "server/asserver.h"
#include "ui/dialogs/dialoghelpers.h"
#include "ui/dialogs/tafdrukkenform.h"
#include "ui/dialogs/tarmenform.h"
#include "ui/dialogs/texporterenform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/dialogs/tproginstelform.h"
#include "ui/dialogs/tserverform.h"
#include "settings/windowpositions.h"
#include "ui/mainwindow/formpositions.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/mainwindow/windowwiring.h"
#include "ui/views/viewcontroller.h"
#include "uikit/theme.h"

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
            m_new->replaceDocument = [this] { m_form.fileCommands().makeNewDocument(); };
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

    TArmenForm& armsForm()
    {
        if (!m_arms) {
            m_arms = new TArmenForm(m_ctx, m_doc, &m_form);
            m_arms->afterApply = [this] {
                m_form.InMenuChecken();
                m_form.views().OpnieuwTekenen();
            };
            m_arms->toggleCoordinates = [this] { m_form.action(QStringLiteral("ShowCoordinatesAction"))->trigger(); };
            place(*m_arms);
        }
        return *m_arms;
    }

    // The Print command. Without a system printer the warning comes first,
    // once a run: the dialog still prints - to PDF files - so repeating it
    // before every print would only be in the way.
    void print()
    {
        const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
        if (noPrinter && !m_noPrinterWarned) {
            m_noPrinterWarned = true;
            m_ctx.messages().warning(m_ctx.texts.format(QStringLiteral("AA00007"), {QString::fromLatin1(kProgramName)}));
        }
        TAfdrukkenForm& dialog = printForm();
        if (noPrinter && !dialog.printsToPdf())
            dialog.usePdfPrinter();
        dialog.exec();
    }

    TAfdrukkenForm& printForm()
    {
        if (!m_print) {
            m_print = new TAfdrukkenForm(m_ctx, m_doc, &m_form);
            m_print->afterChange = [this] { m_form.InMenuChecken(); };
            m_print->openProgramSettings = [this] { programSettings(TProgInstelForm::UitvoerPage); };
            m_print->pdfFileName = [this](const QString& proposed) {
                return QFileDialog::getSaveFileName(m_print, QString(), proposed, QStringLiteral("PDF (*.pdf)"));
            };
            place(*m_print);
        }
        return *m_print;
    }

    // The settings dialog, on a page; the main window applies the theme
    // after it closes, whichever button closed it.
    void programSettings(TProgInstelForm::Page page)
    {
        settingsForm().execOnPage(page);
        m_form.afterSettingsDialog();
    }

    TProgInstelForm& settingsForm()
    {
        if (!m_settings) {
            m_settings = new TProgInstelForm(m_ctx, &m_form);
            m_settings->afterOk = [this] {
                m_form.views().OpnieuwTekenen();
                // What OK stored is kept even if the program does not get to
                // close normally.
                if (m_form.writeSettings)
                    m_form.writeSettings();
            };
            if (m_form.chooseColour)
                m_settings->chooseBaseColor = [this](const QColor& current) -> std::optional<QColor> {
                    const std::optional<int> c = m_form.chooseColour(uikit::toWindowsColor(current));
                    return c ? std::optional<QColor>(uikit::fromWindowsColor(*c)) : std::nullopt;
                };
            place(*m_settings);
        }
        return *m_settings;
    }

    // The exit step for the windows built in this run; one never shown keeps
    // its entry from the run before.
    void collectPositions()
    {
        for (QWidget* w : std::initializer_list<QWidget*>{m_new, m_settings, m_arms, m_export, m_print, m_serverForm})
            if (w)
                collectWindowPosition(m_ctx.settings.formPositions, placementOf(*w));
    }

    // The server window is not modal: the main window stays usable.
    TServerForm& serverForm()
    {
        if (!m_serverForm) {
            m_server = new AsServer(m_ctx, this);
            m_serverForm = new TServerForm(*m_server, &m_form);
            place(*m_serverForm);
        }
        return *m_serverForm;
    }

    void startServer()
    {
        TServerForm& window = serverForm();
        window.show();
        window.raise();
        window.StartButtonClick();
    }

private:
    void place(QWidget& window) { keepFormPosition(window, m_ctx.settings.formPositions, &m_form); }

    THoofdForm& m_form;
    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    DiagramLibrary m_library;
    QPointer<TNieuwForm> m_new;
    QPointer<TExporterenForm> m_export;
    QPointer<TArmenForm> m_arms;
    QPointer<TAfdrukkenForm> m_print;
    QPointer<TProgInstelForm> m_settings;
    QPointer<AsServer> m_server;
    QPointer<TServerForm> m_serverForm;
    bool m_noPrinterWarned = false;
};

} // namespace

void wireDataOutputWindows(const WindowWiring& w)
{
    auto* windows = new DataOutputWindows(w);
    // The open procedure finds version-2 templates and the imports' start
    // diagrams in the same library the new-diagram dialog shows.
    w.form.diagramFile().setTemplateLibrary(&windows->library());

    // The template texts follow the language the settings name, from the
    // start: a version-2 file or an import may open a template before the
    // new-diagram dialog was ever shown.
    w.form.readSettings = [read = w.form.readSettings, windows] {
        if (read)
            read();
        windows->library().TekstenDiagramOphalenUitBestand();
    };
    w.form.writeSettings = [write = w.form.writeSettings, windows] {
        windows->collectPositions();
        if (write)
            write();
    };
    w.form.showNewForm = [windows] { windows->newForm().exec(); };
    w.form.provideCommand(QStringLiteral("FileExportAction"), [windows] { windows->exportForm().exec(); });
    w.form.provideCommand(QStringLiteral("FilePrintAction"), [windows] { windows->print(); });
    w.form.provideCommand(QStringLiteral("ExtraSettingsAction"),
                          [windows] { windows->programSettings(TProgInstelForm::ProgrammaPage); });
    w.form.provideCommand(QStringLiteral("AsServerAction"), [windows] {
        TServerForm& window = windows->serverForm();
        window.show();
        window.raise();
    });
    w.form.startServer = [windows] { windows->startServer(); };
    w.form.provideCommand(QStringLiteral("DiagramArmsAction"), [windows] { windows->armsForm().exec(); });
    w.form.provideCommand(QStringLiteral("EditCopyDiagramAction"), [&ctx = w.ctx, &doc = w.doc] {
        dialogs::BusyCursor busy;
        if (std::unique_ptr<QMimeData> data = diagramCopyMimeData(doc, ctx))
            QGuiApplication::clipboard()->setMimeData(data.release());
    });
}

} // namespace korvimo
