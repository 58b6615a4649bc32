#include "ui/views/tzoomfactorform.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

namespace korvimo {

namespace {

QSpinBox* unlimited(const char* name, QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(INT_MIN, INT_MAX);
    return s;
}

} // namespace

TZoomFactorForm::TZoomFactorForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ZoomFactorForm"));
    setWindowTitle(QStringLiteral("Zoom/verschuif exact"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    m_zoom = unlimited("ZoomEdit", this);
    m_zoom->setSuffix(QStringLiteral(" %"));
    m_x = unlimited("VerschuifXEdit", this);
    m_y = unlimited("VerschuifYEdit", this);
    form->addRow(QStringLiteral("Zoom:"), m_zoom);
    form->addRow(QStringLiteral("Verschuif X:"), m_x);
    form->addRow(QStringLiteral("Verschuif Y:"), m_y);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Annuleren"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("AnnulerenButton"));
    m_help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    m_help->setObjectName(QStringLiteral("HelpButton"));
    m_help->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_helpHandler)
            m_helpHandler(320);
    });
    layout->addWidget(buttons);
}

void TZoomFactorForm::setValues(int zoom, int offsetX, int offsetY)
{
    m_zoom->setValue(zoom);
    m_x->setValue(offsetX);
    m_y->setValue(offsetY);
    m_zoom->setFocus();
    m_zoom->selectAll();
}

int TZoomFactorForm::zoom() const { return m_zoom->value(); }
int TZoomFactorForm::offsetX() const { return m_x->value(); }
int TZoomFactorForm::offsetY() const { return m_y->value(); }

void TZoomFactorForm::setHelpHandler(std::function<void(int context)> handler)
{
    m_helpHandler = std::move(handler);
    m_help->setEnabled(static_cast<bool>(m_helpHandler));
}

} // namespace korvimo
