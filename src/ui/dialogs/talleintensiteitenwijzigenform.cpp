#include "ui/dialogs/talleintensiteitenwijzigenform.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvimo {

TAlleIntensiteitenWijzigenForm::TAlleIntensiteitenWijzigenForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AlleIntensiteitenWijzigenForm"));
    setWindowTitle(QStringLiteral("Alle intensiteiten wijzigen"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout();
    grid->addWidget(captionLabel("AlleIntensiteitenLabel", QStringLiteral("Alle intensiteiten"), nullptr, this), 0, 0);
    m_increase = new QRadioButton(QStringLiteral("verhogen (negatieve waarde dan 'verlagen')"), this);
    m_increase->setObjectName(QStringLiteral("VerhogenRadioButton"));
    m_increase->setChecked(true);
    m_multiply = new QRadioButton(QStringLiteral("vermenigvuldigen"), this);
    m_multiply->setObjectName(QStringLiteral("VermenigvuldigenRadioButton"));
    grid->addWidget(m_increase, 0, 1, 1, 2);
    grid->addWidget(m_multiply, 1, 1, 1, 2);
    m_value = numberField("SpinEdit1", this);
    m_value->setValue(0);
    grid->addWidget(captionLabel("MetWaardeLabel", QStringLiteral("met waarde:"), m_value, this), 2, 0);
    grid->addWidget(m_value, 2, 1);
    m_unit = captionLabel("EenheidLabel", QStringLiteral("/ 1000"), nullptr, this);
    grid->addWidget(m_unit, 2, 2);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    m_buttons = addDialogButtons(*this, *layout, 260);
    connect(m_buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_multiply, &QRadioButton::toggled, m_unit, &QLabel::setVisible);
    m_unit->setVisible(false);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ChangeAllMode TAlleIntensiteitenWijzigenForm::mode() const
{
    return m_multiply->isChecked() ? ChangeAllMode::Multiply : ChangeAllMode::Increase;
}

int TAlleIntensiteitenWijzigenForm::value() const { return m_value->value(); }

void TAlleIntensiteitenWijzigenForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_buttons.ok->setFocus();
}

} // namespace korvimo
