#include "ui/lists/numberedlineform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "ui/uitext.h"

namespace korvimo {

NumberedLineForm::NumberedLineForm(ProgramContext& ctx, const char* objectName, const QString& caption,
                                   const QString& numberedCaption, const char* numberName, const char* groupName,
                                   const QString& groupTitle, int helpContext, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_helpContext(helpContext)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    m_layout = new QVBoxLayout(this);

    QGroupBox* kind = groupBox("ToevoegenGroupBox", QStringLiteral(" Toevoegen/wijzigen: "), this);
    auto* kindRow = new QHBoxLayout(kind);
    m_numbered = new QRadioButton(numberedCaption, kind);
    m_numbered->setObjectName(QString::fromLatin1(numberName) + QStringLiteral("RadioButton"));
    m_numbered->setChecked(true);
    m_text = new QRadioButton(QStringLiteral("&Tekst"), kind);
    m_text->setObjectName(QStringLiteral("TekstRadioButton"));
    kindRow->addWidget(m_numbered);
    kindRow->addWidget(m_text);
    kindRow->addStretch(1);
    m_layout->addWidget(kind);

    m_group = groupBox(groupName, groupTitle, this);
    m_grid = new QGridLayout(m_group);
    m_number = numberField(numberName[0] == 'C' ? "CoordNrSpinEdit" : "IntNrSpinEdit", m_group, 0, 9999);
    m_numberLabel = captionLabel("NummerLabel", QStringLiteral("&Nummer:"), m_number, m_group);
    m_grid->addWidget(m_numberLabel, 0, 0);
    m_grid->addWidget(m_number, 0, 1);
    m_inactive = new QCheckBox(QStringLiteral("Regel &inactief"), m_group);
    m_inactive->setObjectName(QStringLiteral("BlokkerenCheckBox"));

    m_textGroup = groupBox("TekstGroupBox", QStringLiteral(" T&ekst: "), this);
    auto* textRow = new QHBoxLayout(m_textGroup);
    m_textEdit = new QLineEdit(m_textGroup);
    m_textEdit->setObjectName(QStringLiteral("Edit1"));
    m_textEdit->setMinimumWidth(260);
    textRow->addWidget(m_textEdit);

    connect(m_numbered, &QRadioButton::toggled, this, [this] { applyEnabling(); });
}

void NumberedLineForm::finishLayout()
{
    if (m_grid->indexOf(m_inactive) < 0)
        m_grid->addWidget(m_inactive, m_grid->rowCount(), 0, 1, 2);
    m_layout->addWidget(m_group);
    m_layout->addWidget(m_textGroup);
    m_buttons = addDialogButtons(*this, *m_layout, m_helpContext);
    connect(m_buttons.ok, &QPushButton::clicked, this, &NumberedLineForm::okClicked);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
    applyEnabling();
}

void NumberedLineForm::prepare(Mode mode, QStringList* lines, int selectedRow)
{
    m_mode = mode;
    m_lines = lines;
    m_selected = selectedRow;
}

void NumberedLineForm::applyEnabling()
{
    const bool numbered = m_numbered->isChecked();
    m_group->setEnabled(numbered);
    m_textGroup->setEnabled(!numbered);
    // The number of an existing line stays what it is.
    m_numberLabel->setEnabled(m_mode == Add);
    m_number->setEnabled(m_mode == Add);
}

void NumberedLineForm::showEvent(QShowEvent* event)
{
    applyEnabling();
    QDialog::showEvent(event);
    m_buttons.ok->setFocus();
}

void NumberedLineForm::fillCommon(const NumberedLine& l)
{
    if (l.isText) {
        m_text->setChecked(true);
        m_textEdit->setText(l.text);
        return;
    }
    m_inactive->setChecked(l.inactive);
    m_numbered->setChecked(true);
    m_number->setValue(l.number);
}

QString NumberedLineForm::builtLine() const
{
    if (m_text->isChecked())
        return QLatin1Char('*') + m_textEdit->text();
    return numberedLine(m_inactive->isChecked(), m_number->value(), valueFields());
}

void NumberedLineForm::okClicked()
{
    if (!m_lines)
        return;
    if (m_numbered->isChecked() && m_number->isEnabled() && m_mode == Add
        && numberExists(*m_lines, m_number->value())) {
        m_ctx.messages().error(uiText(m_ctx.texts, "AA00022", QStringLiteral("Nummer bestaat al.")));
        return;
    }
    const QString line = builtLine();
    if (m_mode == Change && m_selected >= 0 && m_selected < m_lines->size())
        (*m_lines)[m_selected] = line;
    else
        m_lines->insert(insertPosition(m_selected, int(m_lines->size())), line);
    accept();
}

} // namespace korvimo
