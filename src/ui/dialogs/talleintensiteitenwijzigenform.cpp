#include "ui/dialogs/talleintensiteitenwijzigenform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "ui/uitext.h"

namespace korvimo {

namespace {

// The factor as the user wrote the value: with the decimal sign typed.
QString factorText(const TypedDecimal& n, const QString& typed)
{
    QString s = QString::number(n.value() / 1000.0, 'g', 12);
    if (typed.contains(QLatin1Char(',')))
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

} // namespace

TAlleIntensiteitenWijzigenForm::TAlleIntensiteitenWijzigenForm(ProgramContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx)
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
    grid->addWidget(m_increase, 0, 1, 1, 3);
    grid->addWidget(m_multiply, 1, 1, 1, 3);
    m_value = new QLineEdit(QStringLiteral("0"), this);
    m_value->setObjectName(QStringLiteral("SpinEdit1"));
    m_value->setAlignment(Qt::AlignRight);
    grid->addWidget(captionLabel("MetWaardeLabel", QStringLiteral("met waarde:"), m_value, this), 2, 0);
    grid->addWidget(m_value, 2, 1);
    m_unit = captionLabel("EenheidLabel", QStringLiteral("/ 1000"), nullptr, this);
    grid->addWidget(m_unit, 2, 2);
    // Not a caption of the design: filled from the typed value.
    m_factor = new QLabel(this);
    m_factor->setObjectName(QStringLiteral("ntFactorLabel"));
    m_factor->setMinimumWidth(m_factor->fontMetrics().horizontalAdvance(QStringLiteral("= factor 0,0000000")));
    grid->addWidget(m_factor, 2, 3);
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);
    m_buttons = addDialogButtons(*this, *layout, 260);
    connect(m_buttons.ok, &QPushButton::clicked, this, &TAlleIntensiteitenWijzigenForm::OKButtonClick);
    connect(m_multiply, &QRadioButton::toggled, this, &TAlleIntensiteitenWijzigenForm::updateUnit);
    connect(m_value, &QLineEdit::textChanged, this, &TAlleIntensiteitenWijzigenForm::updateUnit);
    updateUnit();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ChangeAllMode TAlleIntensiteitenWijzigenForm::mode() const
{
    return m_multiply->isChecked() ? ChangeAllMode::Multiply : ChangeAllMode::Increase;
}

void TAlleIntensiteitenWijzigenForm::updateUnit()
{
    const bool multiply = m_multiply->isChecked();
    m_unit->setVisible(multiply);
    m_factor->setVisible(multiply);
    const std::optional<TypedDecimal> n = parseTypedDecimal(m_value->text());
    m_factor->setText(n ? uiText(m_ctx.texts, "AA00272", QStringLiteral("= factor %s"))
                              .replace(QStringLiteral("%s"), factorText(*n, m_value->text()))
                        : QString());
}

void TAlleIntensiteitenWijzigenForm::OKButtonClick()
{
    const std::optional<TypedDecimal> n = parseTypedDecimal(m_value->text());
    if (!n) {
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00270"), {m_value->text()}));
        m_value->setFocus();
        return;
    }
    if (mode() == ChangeAllMode::Increase && !n->isWhole()) {
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00271"), {m_value->text()}));
        m_value->setFocus();
        return;
    }
    m_accepted = *n;
    accept();
}

void TAlleIntensiteitenWijzigenForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_buttons.ok->setFocus();
}

} // namespace korvimo
