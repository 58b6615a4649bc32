#include "ui/views/overzichtpanel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/views/pictures.h"
#include "uikit/theme.h"

namespace korvimo {

namespace {
constexpr int kUpDownMax = 32000;
constexpr int kCellWidth = 58;
constexpr int kCellHeight = 16;
constexpr int kPanelWidth = 140; // the left panel as designed
} // namespace

ScaleEdit::ScaleEdit(QWidget* parent) : QSpinBox(parent)
{
    setObjectName(QStringLiteral("SchaalEdit"));
    setRange(0, 999999999);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setKeyboardTracking(true);
}

void ScaleEdit::stepBy(int steps)
{
    qint64 target = static_cast<qint64>(value()) + static_cast<qint64>(steps) * singleStep();
    if (steps > 0)
        target = qMin<qint64>(target, qMax(kUpDownMax, value()));
    setValue(static_cast<int>(qMax<qint64>(target, 0)));
}

void ScaleEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

VolumeGrid::VolumeGrid(QWidget* parent) : QTableWidget(parent)
{
    setObjectName(QStringLiteral("OvIntStringGrid"));
    setColumnCount(2);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kCellHeight);
    verticalHeader()->setMinimumSectionSize(kCellHeight);
    horizontalHeader()->setDefaultSectionSize(kCellWidth);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
}

void VolumeGrid::setRows(const QList<GridRow>& rows)
{
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        auto* name = new QTableWidgetItem(rows[r].direction);
        // Renaming a direction here would send its volume to another line on
        // the next write-back; the names are changed in the compose view.
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        setItem(r, 0, name);
        setItem(r, 1, new QTableWidgetItem(rows[r].volume));
    }
    // Without rows the grid shows nothing at all, not even its header.
    horizontalHeader()->setVisible(!rows.isEmpty());
    if (!rows.isEmpty())
        setCurrentCell(0, 1);
}

QList<GridRow> VolumeGrid::rows() const
{
    QList<GridRow> out;
    for (int r = 0; r < rowCount(); ++r) {
        const QTableWidgetItem* n = item(r, 0);
        const QTableWidgetItem* v = item(r, 1);
        out.append({n ? n->text() : QString(), v ? v->text() : QString()});
    }
    return out;
}

bool VolumeGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool opened = QTableWidget::edit(index, trigger, event);
    if (opened && rowCount() > 0)
        Q_EMIT editorOpened();
    return opened;
}

void VolumeGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter in the cell editor arrives as SubmitModelCache.
    const bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableWidget::closeEditor(editor, enter ? QAbstractItemDelegate::NoHint : hint);
    if (enter)
        enterAction();
}

void VolumeGrid::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        enterAction();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void VolumeGrid::enterAction()
{
    const int r = currentRow();
    if (r + 1 < rowCount())
        setCurrentCell(r + 1, 1);
    Q_EMIT enterPressed();
}

OverzichtPanel::OverzichtPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OverzichtPanel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* left = new QWidget(this);
    left->setObjectName(QStringLiteral("OvLinksPanel"));
    left->setFixedWidth(kPanelWidth);
    auto* col = new QVBoxLayout(left);
    col->setContentsMargins(4, 4, 0, 4);

    auto* scaleGroup = new QGroupBox(left);
    scaleGroup->setObjectName(QStringLiteral("SchaalGroupBox"));
    scaleGroup->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* scaleRow = new QHBoxLayout(scaleGroup);
    scaleRow->setContentsMargins(6, 6, 6, 6);
    auto* scaleLabel = new QLabel(QStringLiteral("&Schaal"), scaleGroup);
    scaleLabel->setObjectName(QStringLiteral("SchaalLabel"));
    m_schaal = new ScaleEdit(scaleGroup);
    scaleLabel->setBuddy(m_schaal);
    scaleRow->addWidget(scaleLabel);
    scaleRow->addWidget(m_schaal, 1);
    col->addWidget(scaleGroup);

    m_redraw = new QPushButton(QStringLiteral("Opnieuw &tekenen (F9)"), left);
    m_redraw->setObjectName(QStringLiteral("OpnieuwTekenenButton"));
    col->addWidget(m_redraw);
    m_testPoly = new QCheckBox(QStringLiteral("TestPoly"), left);
    m_testPoly->setObjectName(QStringLiteral("TestPolyCheckBox"));
    m_testPoly->setVisible(false);
    col->addWidget(m_testPoly);

    m_gridLabel = new QLabel(QStringLiteral("&Intensiteiten"), left);
    m_gridLabel->setObjectName(QStringLiteral("IntensiteitenLabel"));
    col->addWidget(m_gridLabel);
    m_grid = new VolumeGrid(left);
    m_gridLabel->setBuddy(m_grid);
    col->addWidget(m_grid, 1);
    // Takes the room of the grid while the grid is hidden (no volumes).
    col->addStretch(0);
    layout->addWidget(left);

    m_scrollBox = new QFrame(this);
    m_scrollBox->setObjectName(QStringLiteral("OvScrollBox"));
    m_scrollBox->setProperty(uikit::kScrollBoxProperty, true);
    m_scrollBox->setFrameShape(QFrame::StyledPanel);
    m_scrollBox->setAutoFillBackground(true);
    m_scrollBox->setFocusPolicy(Qt::StrongFocus);
    auto* boxLayout = new QVBoxLayout(m_scrollBox);
    boxLayout->setContentsMargins(1, 1, 1, 1);
    m_picture = new PictureWidget(m_scrollBox);
    m_picture->setObjectName(QStringLiteral("OvImage"));
    boxLayout->addWidget(m_picture);
    layout->addWidget(m_scrollBox, 1);

    setHeaderTexts(QStringLiteral("Richting"), QStringLiteral("Intensiteit"));
}

void OverzichtPanel::setHeaderTexts(const QString& direction, const QString& volume)
{
    m_grid->setHorizontalHeaderLabels({direction, volume});
    // A header longer than the designed one (a translated "Intensiteit")
    // widens the panel instead of being cut off; it never gets narrower
    // than designed.
    QHeaderView* header = m_grid->horizontalHeader();
    const int first = qMax(kCellWidth, header->sectionSizeHint(0));
    header->resizeSection(0, first);
    if (auto* left = findChild<QWidget*>(QStringLiteral("OvLinksPanel"))) {
        const QMargins margins = left->layout()->contentsMargins();
        // The header of the current column is drawn in bold.
        QFont bold = header->font();
        bold.setBold(true);
        const int boldExtra = QFontMetrics(bold).horizontalAdvance(volume)
                              - QFontMetrics(header->font()).horizontalAdvance(volume);
        const int needed = margins.left() + margins.right() + 2 * m_grid->frameWidth() + first
                           + header->sectionSizeHint(1) + qMax(0, boldExtra);
        left->setFixedWidth(qMax(kPanelWidth, needed));
    }
}

} // namespace korvimo
