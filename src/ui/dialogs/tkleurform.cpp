#include "ui/dialogs/tkleurform.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/diagramdocument.h"
#include "document/integertext.h"
#include "ui/dialogs/dialoghelpers.h"
#include "uikit/theme.h"

namespace korvimo {

TKleurForm::TKleurForm(DiagramDocument& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("KleurForm"));
    setWindowTitle(QStringLiteral("Kies kleur"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout();
    m_entry = new QComboBox(this);
    m_entry->setObjectName(QStringLiteral("LNEComboBox3"));
    m_entry->addItem(QStringLiteral("Other color"));
    for (int i = 1; i <= 16; ++i)
        m_entry->addItem(QStringLiteral("Color%1").arg(i, 4, 10, QLatin1Char('0')));
    m_swatchLabel = new QLabel(this);
    m_swatchLabel->setObjectName(QStringLiteral("KleurShape"));
    m_swatchLabel->setFixedSize(40, 22);
    m_swatchLabel->installEventFilter(this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("KleurEdit"));
    m_text->setReadOnly(true);
    m_other = new QPushButton(QStringLiteral("Ot&her color"), this);
    m_other->setObjectName(QStringLiteral("OtherColorButton"));
    m_other->setAutoDefault(false);
    grid->addWidget(m_entry, 0, 0, 1, 2);
    grid->addWidget(m_swatchLabel, 1, 0);
    grid->addWidget(m_text, 1, 1);
    grid->addWidget(m_other, 2, 0, 1, 2);
    layout->addLayout(grid);
    m_buttons = addDialogButtons(*this, *layout, 680);
    connect(m_buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_entry, &QComboBox::currentIndexChanged, this, &TKleurForm::LNEComboBox3Change);
    connect(m_other, &QPushButton::clicked, this, &TKleurForm::otherColour);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chooseColour = [this](int current) { return dialogs::BepaalKleur(current, this); };
    setSwatch(0);
    m_text->setText(QStringLiteral("0"));
    LNEComboBox3Change();
}

void TKleurForm::setColourText(const QString& text) { m_text->setText(text); }

QString TKleurForm::colourText() const { return m_text->text(); }

void TKleurForm::setSwatch(int colour)
{
    m_swatch = colour;
    m_swatchLabel->setStyleSheet(colourSwatchStyle(colour));
}

void TKleurForm::ComboBoxGelijkZettenMetColorEdit()
{
    const int index = m_entry->findText(m_text->text(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    const QSignalBlocker block(m_entry);
    m_entry->setCurrentIndex(index > 0 ? index : 0);
    LNEComboBox3Change();
}

void TKleurForm::LNEComboBox3Change()
{
    const int index = m_entry->currentIndex();
    if (index >= 1 && index <= 16) {
        setSwatch(m_doc.general.color[index - 1]);
        m_text->setText(m_entry->currentText());
        m_other->setEnabled(false);
    } else {
        setSwatch(toIntegerOr(m_text->text(), 0));
        m_text->setText(QString::number(m_swatch));
        m_other->setEnabled(true);
    }
}

void TKleurForm::otherColour()
{
    if (chooseColour) {
        if (const std::optional<int> c = chooseColour(m_swatch))
            setSwatch(*c);
    }
    m_text->setText(QString::number(m_swatch));
}

bool TKleurForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_swatchLabel && event->type() == QEvent::MouseButtonRelease && m_other->isEnabled()) {
        otherColour();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TKleurForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_buttons.ok->setFocus();
}

} // namespace korvimo
