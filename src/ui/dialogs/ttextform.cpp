#include "ui/dialogs/ttextform.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/textelement.h"

namespace korvimo {

namespace {

QString variableName(int i)
{
    return i < 5 ? QStringLiteral("Title%1").arg(i + 1, 2, 10, QLatin1Char('0'))
                 : QStringLiteral("Streetname%1").arg(i - 4, 2, 10, QLatin1Char('0'));
}

} // namespace

TTextForm::TTextForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc)
{
    setObjectName(QStringLiteral("TextForm"));
    setWindowTitle(QStringLiteral("Teksten"));
    auto* layout = new QVBoxLayout(this);
    QGroupBox* group = groupBox("TekstVariabelenGroupBox", QStringLiteral(" Tekstvariabelen: "), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_scroll = new QScrollArea(group);
    m_scroll->setObjectName(QStringLiteral("TekstVariabelenScrollBox"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::StrongFocus);
    // A turn of the wheel scrolls two lines: the wheel moves a number of
    // single steps at a time.
    const int row = fontMetrics().height() + 10; // a field and its spacing
    m_scroll->verticalScrollBar()->setSingleStep(qMax(1, 2 * row / qMax(1, QApplication::wheelScrollLines())));
    auto* inner = new QWidget(m_scroll);
    inner->setObjectName(QStringLiteral("TekstVariabelenPanel"));
    auto* grid = new QGridLayout(inner);
    m_user = new QLineEdit(inner);
    m_user->setObjectName(QStringLiteral("UsernameEdit"));
    m_user->setReadOnly(true);
    m_file = new QLineEdit(inner);
    m_file->setObjectName(QStringLiteral("FilenameEdit"));
    m_file->setReadOnly(true);
    grid->addWidget(captionLabel("UsernameLabel", QStringLiteral("Username:"), m_user, inner), 0, 0);
    grid->addWidget(m_user, 0, 1);
    grid->addWidget(captionLabel("FilenameLabel", QStringLiteral("Filename:"), m_file, inner), 1, 0);
    grid->addWidget(m_file, 1, 1);
    for (int i = 0; i < 21; ++i) {
        const QString name = variableName(i);
        m_edits[i] = new QLineEdit(inner);
        m_edits[i]->setObjectName(name + QStringLiteral("Edit"));
        m_edits[i]->setMinimumWidth(300);
        m_labels[i] = new QLabel(name + QLatin1Char(':'), inner);
        m_labels[i]->setObjectName(name + QStringLiteral("Label"));
        m_labels[i]->setBuddy(m_edits[i]);
        grid->addWidget(m_labels[i], 2 + i, 0);
        grid->addWidget(m_edits[i], 2 + i, 1);
        connect(m_edits[i], &QLineEdit::textEdited, this, [this] { m_changed = true; });
    }
    auto* note = new QLabel(QStringLiteral("Overige teksten dienen via script te worden gedefini\u00eberd."), inner);
    note->setObjectName(QStringLiteral("OverigeTekstenLabel"));
    grid->addWidget(note, 23, 0, 1, 2);
    grid->setRowStretch(24, 1);
    m_scroll->setWidget(inner);
    m_scroll->setMinimumSize(460, 300);
    groupLayout->addWidget(m_scroll);
    layout->addWidget(group, 1);
    m_buttons = addDialogButtons(*this, *layout, 220);
    connect(m_buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    hideFields();
}

void TTextForm::hideFields()
{
    for (int i = 0; i < 21; ++i) {
        m_edits[i]->setVisible(false);
        m_labels[i]->setVisible(false);
    }
}

void TTextForm::load()
{
    BusyCursor busy;
    m_user->setText(loginName());
    m_file->setText(QFileInfo(m_doc.fileName).fileName());
    for (const QString& line : std::as_const(m_doc.script)) {
        if (!line.startsWith(QLatin1String("TXT")))
            continue;
        for (int i = 0; i < 21; ++i) {
            if (line.contains(QLatin1Char(';') + variableName(i) + QLatin1Char(';'))) {
                m_edits[i]->setVisible(true);
                m_labels[i]->setVisible(true);
            }
        }
    }
    for (int i = 0; i < 5; ++i)
        m_edits[i]->setText(m_doc.general.title[i]);
    for (int i = 0; i < 16; ++i)
        m_edits[5 + i]->setText(m_doc.general.streetname[i]);
    m_changed = false;
}

bool TTextForm::store()
{
    for (int i = 0; i < 5; ++i)
        m_doc.general.title[i] = m_edits[i]->text();
    for (int i = 0; i < 16; ++i)
        m_doc.general.streetname[i] = m_edits[5 + i]->text();
    return m_changed;
}

void TTextForm::showEvent(QShowEvent* event)
{
    load();
    QDialog::showEvent(event);
    m_scroll->setFocus();
}

void TTextForm::done(int result)
{
    QDialog::done(result);
    hideFields();
}

} // namespace korvimo
