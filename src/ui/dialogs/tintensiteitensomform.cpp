#include "ui/dialogs/tintensiteitensomform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "ui/lists/listlines.h"
#include "ui/uitext.h"
#include "uikit/icons.h"

namespace korvimo {

namespace {

QToolButton* functionButton(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setMinimumWidth(28);
    return b;
}

} // namespace

TIntensiteitenSomForm::TIntensiteitenSomForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc)
{
    setObjectName(QStringLiteral("IntensiteitenSomForm"));
    setWindowTitle(QStringLiteral("Intensiteiten/waarden-functie"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout();
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    m_list->setFont(mono);
    m_list->setMinimumSize(180, 200);
    grid->addWidget(captionLabel("ListBox1Label", QStringLiteral("Intensiteiten/waarden:"), m_list, this), 0, 0);
    grid->addWidget(m_list, 1, 0, 5, 1);

    QToolButton* add = functionButton("AddButton", QStringLiteral(">"),
                                      QStringLiteral("Intensiteiten/waarden-nummer toevoegen"), this);
    add->setIcon(uikit::programIcon(QStringLiteral("add")));
    QToolButton* plus = functionButton("PlusButton", QStringLiteral("+"), QStringLiteral("'Plus' toevoegen"), this);
    QToolButton* minus = functionButton("MinButton", QStringLiteral("-"), QStringLiteral("'Min' toevoegen"), this);
    QToolButton* back =
        functionButton("BackButton", QStringLiteral("<"), QStringLiteral("Laatste karakter verwijderen"), this);
    grid->addWidget(add, 1, 1);
    grid->addWidget(plus, 2, 1);
    grid->addWidget(minus, 3, 1);
    grid->addWidget(back, 4, 1);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setMinimumWidth(220);
    grid->addWidget(captionLabel("FunctieLabel", QStringLiteral("Functie:"), m_edit, this), 0, 2);
    grid->addWidget(m_edit, 1, 2);
    grid->addWidget(captionLabel("VoorbeeldLabel", QStringLiteral("Voorbeeld:"), nullptr, this), 2, 2);
    grid->addWidget(captionLabel("VoorbeeldTextLabel", QStringLiteral("1001+1002-3001+3002"), nullptr, this), 3, 2);
    grid->setRowStretch(5, 1);
    layout->addLayout(grid);
    m_buttons = addDialogButtons(*this, *layout, 660);

    connect(add, &QToolButton::clicked, this, &TIntensiteitenSomForm::addName);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TIntensiteitenSomForm::addName);
    connect(plus, &QToolButton::clicked, this, [this] { m_edit->setText(m_edit->text() + QLatin1Char('+')); });
    connect(minus, &QToolButton::clicked, this, [this] { m_edit->setText(m_edit->text() + QLatin1Char('-')); });
    connect(back, &QToolButton::clicked, this, [this] { m_edit->setText(m_edit->text().chopped(m_edit->text().isEmpty() ? 0 : 1)); });
    connect(m_buttons.ok, &QPushButton::clicked, this, &TIntensiteitenSomForm::okClicked);
    setTabOrder(m_list, m_edit);
}

void TIntensiteitenSomForm::setFunctionText(const QString& text) { m_edit->setText(text); }

QString TIntensiteitenSomForm::functionText() const { return m_edit->text(); }

void TIntensiteitenSomForm::showEvent(QShowEvent* event)
{
    BusyCursor busy;
    m_list->clear();
    m_list->addItems(m_doc.intensities);
    QDialog::showEvent(event);
    m_list->setFocus();
}

void TIntensiteitenSomForm::addName()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    const QString line = item->text();
    if (line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#')))
        return;
    const int eq = line.indexOf(QLatin1Char('='));
    m_edit->setText(m_edit->text() + (eq < 0 ? line : line.left(eq)));
}

void TIntensiteitenSomForm::okClicked()
{
    if (!isValidFunctionText(m_edit->text())) {
        m_ctx.messages().error(uiText(m_ctx.texts, "AA00024", QStringLiteral("Onjuiste functie.")));
        return;
    }
    accept();
}

} // namespace korvimo
