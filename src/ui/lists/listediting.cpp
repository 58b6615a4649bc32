#include "ui/lists/listediting.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QToolButton>

#include "core/programcontext.h"
#include "core/programpaths.h"
#include "document/diagramdocument.h"
#include "document/integertext.h"
#include "ui/dialogs/tcoordform.h"
#include "ui/dialogs/tintensiteitensomform.h"
#include "ui/dialogs/tintform.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/dialogs/tscriptform.h"
#include "ui/lists/dialogparts.h"
#include "ui/lists/listlines.h"
#include "ui/mainwindow/formpositions.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/mainwindow/windowwiring.h"
#include "ui/uitext.h"
#include "ui/views/opstellenpanel.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/pictures.h"
#include "ui/views/viewcontroller.h"

namespace korvimo {

namespace {

// Enter in a list runs its change command, as a double click does.
class EnterFilter final : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> action) : QObject(parent), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_action();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

QToolButton* listButton(OpstellenPanel& panel, const char* name)
{
    return panel.findChild<QToolButton*>(QString::fromLatin1(name));
}

} // namespace

ListEditing::ListEditing(const WindowWiring& w)
    : QObject(&w.form), m_form(w.form), m_ctx(w.ctx), m_doc(w.doc), m_views(w.form.views())
{
    setObjectName(QStringLiteral("ListEditing"));
    connectLists();
}

ListEditing::~ListEditing() = default;

void ListEditing::place(QWidget& dialog)
{
    keepFormPosition(dialog, m_ctx.settings.formPositions, &m_form);
    m_placed << &dialog;
}

void ListEditing::collectPositions()
{
    for (const QPointer<QWidget>& w : std::as_const(m_placed))
        if (w)
            collectWindowPosition(m_ctx.settings.formPositions, placementOf(*w));
}

QString ListEditing::text(const char* key, const QString& base) const { return uiText(m_ctx.texts, key, base); }

void ListEditing::connectLists()
{
    OpstellenPanel& op = m_form.compose();
    const struct {
        const char* name;
        void (ListEditing::*handler)();
    } buttons[] = {
        {"CoordAddButton", &ListEditing::CoordAddButtonClick}, {"CoordEditButton", &ListEditing::CoordEditButtonClick},
        {"CoordDelButton", &ListEditing::CoordDelButtonClick}, {"IntAddButton", &ListEditing::IntAddButtonClick},
        {"IntEditButton", &ListEditing::IntEditButtonClick},   {"IntDelButton", &ListEditing::IntDelButtonClick},
        {"ScriptAddButton", &ListEditing::ScriptAddButtonClick},
        {"ScriptEditButton", &ListEditing::ScriptEditButtonClick},
        {"ScriptDelButton", &ListEditing::ScriptDelButtonClick},
        {"ScriptCopyButton", &ListEditing::ScriptCopyButtonClick},
        {"ScriptPasteButton", &ListEditing::ScriptPasteButtonClick},
    };
    for (const auto& b : buttons) {
        QToolButton* button = listButton(op, b.name);
        if (!button)
            continue;
        button->setEnabled(true);
        const auto handler = b.handler;
        connect(button, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    }
    connect(op.scriptList(), &QListWidget::itemDoubleClicked, this, [this] { ScriptEditButtonClick(); });
    op.scriptList()->installEventFilter(new EnterFilter(this, [this] { ScriptEditButtonClick(); }));
    connect(op.coordsList(), &QListWidget::itemDoubleClicked, this, [this] { CoordEditButtonClick(); });
    connect(op.intList(), &QListWidget::itemDoubleClicked, this, [this] { IntEditButtonClick(); });

    m_views.onCoordinateHit = [this](int) { CoordEditButtonClick(); };
    m_views.onCoordinatePicked = [this](QPoint p) { coordinatePicked(p); };

    // A volume typed into the overview grid reaches the list at the next
    // redraw; that write-back becomes its own undo step.
    connect(m_form.overview().grid(), &VolumeGrid::editorOpened, this, [this] { m_gridEdited = true; });
    connect(&m_views, &ViewController::redrawn, this, [this] {
        if (m_gridEdited && m_views.state().view == ViewKind::Overview) {
            m_gridEdited = false;
            m_doc.recordChange(text("AA00009", QStringLiteral("Intensiteit")));
        }
    });
}

void ListEditing::markEdited(const QString& what)
{
    m_doc.markChanged(what);
    m_form.InMenuChecken();
}

void ListEditing::finishEdit(const QString& what)
{
    markEdited(what);
    m_views.OpnieuwTekenen();
}

void ListEditing::deleteLine(QListWidget* list, QStringList& lines, const QString& what)
{
    const int row = list->currentRow();
    if (row >= 0 && row < lines.size()) {
        const int answer = m_ctx.messages().question(
            text("AA00015", QStringLiteral("Regel verwijderen?")), QString(),
            text("ZB00018", QStringLiteral("&Verwijderen")), text("ZB00019", QStringLiteral("&Niet verwijderen")),
            text("ZB00013", QStringLiteral("&Annuleren")), Messenger::No);
        if (answer == Messenger::Yes) {
            lines.removeAt(row);
            finishEdit(what);
        }
    }
    list->setFocus();
}

void ListEditing::ScriptDelButtonClick()
{
    deleteLine(m_form.compose().scriptList(), m_doc.script, QStringLiteral("Scriptregel verwijderen"));
}

void ListEditing::CoordDelButtonClick()
{
    deleteLine(m_form.compose().coordsList(), m_doc.coordinates, QStringLiteral("Co\u00f6rdinaat verwijderen"));
}

void ListEditing::IntDelButtonClick()
{
    deleteLine(m_form.compose().intList(), m_doc.intensities, QStringLiteral("Intensiteit/waarde verwijderen"));
}

void ListEditing::ScriptCopyButtonClick()
{
    QListWidget* list = m_form.compose().scriptList();
    list->setFocus();
    const int row = list->currentRow();
    if (row >= 0 && row < m_doc.script.size())
        m_scriptClipboard = m_doc.script[row];
}

void ListEditing::ScriptPasteButtonClick()
{
    BusyCursor busy;
    QListWidget* list = m_form.compose().scriptList();
    list->setFocus();
    const int row = list->currentRow();
    if (row < 0 || row >= m_doc.script.size() || m_scriptClipboard.isEmpty())
        return;
    m_doc.script.insert(row + 1, m_scriptClipboard);
    finishEdit(QStringLiteral("Scriptregel plakken"));
}

// Script -------------------------------------------------------------------

TKleurForm& ListEditing::kleurForm()
{
    if (!m_kleur)
        m_kleur = placed(new TKleurForm(m_doc, &m_form));
    return *m_kleur;
}

TScriptForm& ListEditing::scriptForm()
{
    if (!m_script) {
        auto* functions = placed(new TIntensiteitenSomForm(m_ctx, m_doc, &m_form));
        m_script = placed(new TScriptForm(m_ctx, m_doc, *functions, kleurForm(), &m_form));
    }
    return *m_script;
}

void ListEditing::ScriptAddButtonClick()
{
    QListWidget* list = m_form.compose().scriptList();
    TScriptForm* f = nullptr;
    {
        BusyCursor busy;
        f = &scriptForm();
        f->setWindowTitle(text("AA00018", QStringLiteral("Scriptregel toevoegen")));
        f->prepare(TScriptForm::Add, list->currentRow());
        f->startAdd();
    }
    if (f->exec() == QDialog::Accepted)
        finishEdit(f->windowTitle());
    list->setFocus();
}

void ListEditing::ScriptEditButtonClick()
{
    QListWidget* list = m_form.compose().scriptList();
    const int row = list->currentRow();
    if (row < 0 || row >= m_doc.script.size()) {
        list->setFocus();
        return;
    }
    TScriptForm& f = scriptForm();
    const QString unknown = f.unknownElementCode(m_doc.script[row]);
    if (!unknown.isNull()) {
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00205"), {unknown}));
        list->setFocus();
        return;
    }
    f.setWindowTitle(text("AA00019", QStringLiteral("Scriptregel wijzigen")));
    f.prepare(TScriptForm::Change, row);
    bool editable = false;
    try {
        editable = f.fillFromLine(m_doc.script[row]);
    } catch (const ConversionError& e) {
        m_ctx.messages().error(e.text());
        list->setFocus();
        return;
    }
    if (!editable) {
        m_ctx.messages().error(
            text("AA00020", QStringLiteral("Scriptregel kan niet worden gewijzigd. Script is met een nieuwere versie "
                                           "van %s aangemaakt."))
                .replace(QStringLiteral("%s"), QString::fromLatin1(kProgramName)));
    } else if (f.exec() == QDialog::Accepted) {
        finishEdit(f.windowTitle());
    }
    list->setFocus();
}

// Coordinates --------------------------------------------------------------

TCoordForm& ListEditing::coordForm()
{
    if (!m_coord)
        m_coord = placed(new TCoordForm(m_ctx, &m_form));
    return *m_coord;
}

TIntForm& ListEditing::intForm()
{
    if (!m_int)
        m_int = placed(new TIntForm(m_ctx, &m_form));
    return *m_int;
}

void ListEditing::CoordAddButtonClick()
{
    TCoordForm& f = coordForm();
    f.setWindowTitle(text("AA00013", QStringLiteral("Co\u00f6rdinaten toevoegen")));
    f.prepare(NumberedLineForm::Add, &m_doc.coordinates, m_form.compose().coordsList()->currentRow());
    runCoordForm(false);
}

void ListEditing::CoordEditButtonClick()
{
    QListWidget* list = m_form.compose().coordsList();
    const int row = list->currentRow();
    if (row < 0 || row >= m_doc.coordinates.size()) {
        list->setFocus();
        return;
    }
    TCoordForm& f = coordForm();
    f.setWindowTitle(text("AA00014", QStringLiteral("Co\u00f6rdinaten wijzigen")));
    f.prepare(NumberedLineForm::Change, &m_doc.coordinates, row);
    try {
        f.fillFromLine(m_doc.coordinates[row]);
    } catch (const ConversionError& e) {
        m_ctx.messages().error(e.text());
        list->setFocus();
        return;
    }
    runCoordForm(false);
}

void ListEditing::runCoordForm(bool fromPick)
{
    Q_UNUSED(fromPick);
    TCoordForm& f = coordForm();
    // Opening the editor ends a pick that was still waiting.
    m_views.state().coordinatePick = false;
    m_form.compose().picture()->setCursor(Qt::ArrowCursor);
    const int result = f.exec();
    if (result == TCoordForm::kPickResult) {
        m_views.state().coordinatePick = true;
        m_form.compose().picture()->setCursor(Qt::CrossCursor);
        return;
    }
    if (result == QDialog::Accepted)
        finishEdit(f.windowTitle());
    else
        m_views.OpnieuwTekenen();
    m_form.compose().coordsList()->setFocus();
}

void ListEditing::coordinatePicked(QPoint position)
{
    m_views.state().coordinatePick = false;
    m_form.compose().picture()->setCursor(Qt::ArrowCursor);
    coordForm().setPosition(position.x(), position.y());
    runCoordForm(true);
}

// Volumes ------------------------------------------------------------------

void ListEditing::IntAddButtonClick()
{
    TIntForm& f = intForm();
    f.setWindowTitle(text("AA00016", QStringLiteral("Intensiteit/waarde toevoegen")));
    f.prepare(NumberedLineForm::Add, &m_doc.intensities, m_form.compose().intList()->currentRow());
    if (f.exec() == QDialog::Accepted)
        finishEdit(f.windowTitle());
    else
        m_views.OpnieuwTekenen();
    m_form.compose().intList()->setFocus();
}

void ListEditing::IntEditButtonClick()
{
    QListWidget* list = m_form.compose().intList();
    const int row = list->currentRow();
    if (row < 0 || row >= m_doc.intensities.size()) {
        list->setFocus();
        return;
    }
    TIntForm& f = intForm();
    f.setWindowTitle(text("AA00017", QStringLiteral("Intensiteit/waarde wijzigen")));
    f.prepare(NumberedLineForm::Change, &m_doc.intensities, row);
    try {
        f.fillFromLine(m_doc.intensities[row]);
    } catch (const ConversionError& e) {
        m_ctx.messages().error(e.text());
        list->setFocus();
        return;
    }
    if (f.exec() == QDialog::Accepted)
        finishEdit(f.windowTitle());
    else
        m_views.OpnieuwTekenen();
    list->setFocus();
}

// Edit menu ----------------------------------------------------------------

void ListEditing::copyScript()
{
    BusyCursor busy;
    OpstellenPanel& op = m_form.compose();
    auto header = [&op](const char* name) {
        const QLabel* l = op.findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QString();
    };
    // The volume header shows one ampersand; its caption holds two, and the
    // copy writes the caption.
    QString intHeader = header("IntPanelLabel");
    intHeader.replace(QStringLiteral("&"), QStringLiteral("&&"));
    const QString all = scriptCopyText(header("ScriptPanelLabel"), m_doc.script, header("CoordsPanelLabel"),
                                       m_doc.coordinates, intHeader, m_doc.intensities);
    QApplication::clipboard()->setText(all);
}

void ListEditing::copyVolumeList()
{
    VolumeGrid* grid = m_form.overview().grid();
    QApplication::clipboard()->setText(grid->dataRowCount() > 0 ? volumeListCopyText(grid->rows()) : QString());
}

void ListEditing::pasteVolumeList()
{
    int matched = 0;
    {
        BusyCursor busy;
        VolumeGrid* grid = m_form.overview().grid();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (data && data->hasText() && grid->dataRowCount() > 0) {
            QList<GridRow> rows = grid->rows();
            matched = korvimo::pasteVolumeList(data->text(), rows);
            if (matched > 0) {
                grid->setRows(rows);
                // The redraw writes the grid into the volume list; the step is
                // recorded after it.
                m_views.OpnieuwTekenen();
                markEdited(QStringLiteral("Intensiteitenlijst plakken"));
            }
        }
    }
    if (matched == 0)
        m_ctx.messages().information(
            text("AA00044", QStringLiteral("Geen overeenkomende data gevonden in klembord.\n\nKopieer en plak beide "
                                           "kolommen, richtingnamen moeten exact gelijk zijn (beginnen met een ') "
                                           "en het veldscheidingsteken is een TAB (#9).")));
}

void ListEditing::flushGrid()
{
    VolumeGrid* grid = m_form.overview().grid();
    if (m_views.state().view == ViewKind::Overview && grid->dataRowCount() > 0) {
        writeBackVolumeGrid(grid->rows(), &m_doc.intensities);
        m_doc.recordChange(text("AA00009", QStringLiteral("Intensiteit")));
    }
    m_gridEdited = false;
}

void ListEditing::undo()
{
    flushGrid();
    if (!m_doc.undoStack().canUndo())
        return;
    m_doc.undoStack().undo();
    afterHistoryStep();
}

void ListEditing::redo()
{
    flushGrid();
    if (!m_doc.undoStack().canRedo())
        return;
    m_doc.undoStack().redo();
    afterHistoryStep();
}

void ListEditing::afterHistoryStep()
{
    // The overview grid and the scale field show the document; after a step
    // back they must show it again before the redraw writes the grid back.
    if (m_views.state().view == ViewKind::Overview)
        m_views.rebuildVolumeGrid();
    else
        m_views.SchaalEditUpdaten();
    m_views.OpnieuwTekenen();
    m_form.InMenuChecken();
}

} // namespace korvimo
