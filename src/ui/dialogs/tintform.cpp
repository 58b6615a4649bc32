#include "ui/dialogs/tintform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace korvimo {

TIntForm::TIntForm(ProgramContext& ctx, QWidget* parent)
    : NumberedLineForm(ctx, "IntForm", QStringLiteral("Intensiteiten"), QStringLiteral("Inten&siteit/waarde"),
                       "Int", "IntGroupBox", QStringLiteral(" Intensiteit/waarde: "), 420, parent)
{
    QGridLayout* grid = fieldGrid();
    QWidget* group = numberedGroup();
    m_value = numberField("IntSpinEdit", group);
    grid->addWidget(captionLabel("IntLabel", QStringLiteral("Inten&siteit/waarde:"), m_value, group), 1, 0);
    grid->addWidget(m_value, 1, 1);

    auto* kinds = new QButtonGroup(this);
    m_volume = new QRadioButton(QStringLiteral("Inten&siteit"), group);
    m_volume->setObjectName(QStringLiteral("IntensiteitRadioButton"));
    m_volume->setChecked(true);
    m_other = new QRadioButton(QStringLiteral("Andere &waarde"), group);
    m_other->setObjectName(QStringLiteral("AndereWaardeRadioButton"));
    kinds->addButton(m_volume);
    kinds->addButton(m_other);
    auto* kindRow = new QHBoxLayout();
    kindRow->addWidget(m_volume);
    kindRow->addWidget(m_other);
    kindRow->addStretch(1);
    grid->addWidget(inactiveBox(), 2, 0, 1, 2);
    grid->addLayout(kindRow, 3, 0, 1, 2);
    auto* note = new QLabel(QStringLiteral("(wordt niet getoond in intensiteitenoverzicht)"), group);
    note->setObjectName(QStringLiteral("AndereWaardeLabel"));
    grid->addWidget(note, 4, 0, 1, 2);
    finishLayout();
    setTabOrder(numberEdit(), m_value);
}

void TIntForm::fillFromLine(const QString& line)
{
    BusyCursor busy;
    const NumberedLine l = readIntensityLine(line);
    fillCommon(l);
    if (l.isText)
        return;
    m_value->setValue(l.first);
    (l.volume ? m_volume : m_other)->setChecked(true);
}

QStringList TIntForm::valueFields() const
{
    return {QString::number(m_value->value()), m_volume->isChecked() ? QStringLiteral("I") : QStringLiteral("V")};
}

} // namespace korvimo
