#include "ui/help/topinternetform.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "i18n/languagesetup.h"

namespace korvimo {

TOpInternetForm::TOpInternetForm(ProgramContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("OpInternetForm"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Nieuwe versies, voorbeelden en antwoorden op vragen vindt u op internet."), this);
    intro->setObjectName(QStringLiteral("InleidingLabel"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout();
    auto* webCaption = new QLabel(QStringLiteral("Website:"), this);
    webCaption->setObjectName(QStringLiteral("WebsiteLabel"));
    // The addresses are links, not texts to translate.
    m_web = new QLabel(this);
    m_web->setObjectName(QStringLiteral("ntWebLinkLabel"));
    m_web->setOpenExternalLinks(true);
    auto* mailCaption = new QLabel(QStringLiteral("E-mail:"), this);
    mailCaption->setObjectName(QStringLiteral("EmailLabel"));
    m_mail = new QLabel(this);
    m_mail->setObjectName(QStringLiteral("ntMailLinkLabel"));
    m_mail->setOpenExternalLinks(true);
    form->addRow(webCaption, m_web);
    form->addRow(mailCaption, m_mail);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("&Sluiten"), this);
    close->setObjectName(QStringLiteral("SluitenButton"));
    close->setDefault(true);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    updateTexts();
    resize(420, sizeHint().height());
}

void TOpInternetForm::updateTexts()
{
    setWindowTitle(webLinksCaption(m_ctx.texts));
    const FixedTexts& f = m_ctx.texts.fixed();
    m_web->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(f.webAddress));
    m_mail->setText(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(f.contactAddress));
}

} // namespace korvimo
