#include "ui/help/thelpform.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace korvimo {

QString helpPagePath(const QString& helpSetFolder, int context)
{
    QString folder = helpSetFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QString::number(context) + QStringLiteral(".html");
}

THelpForm::THelpForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Korvimo Help"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setModal(false);
    resize(720, 620);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout();
    m_contents = new QPushButton(QStringLiteral("&Inhoud"), this);
    m_contents->setObjectName(QStringLiteral("InhoudButton"));
    m_back = new QPushButton(QStringLiteral("&Terug"), this);
    m_back->setObjectName(QStringLiteral("TerugButton"));
    m_back->setEnabled(false);
    m_forward = new QPushButton(QStringLiteral("&Vooruit"), this);
    m_forward->setObjectName(QStringLiteral("VooruitButton"));
    m_forward->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("&Sluiten"), this);
    close->setObjectName(QStringLiteral("SluitenButton"));
    bar->addWidget(m_contents);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addStretch(1);
    bar->addWidget(close);
    layout->addLayout(bar);

    // The pages are the help set's own; they are never translated.
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("ntHelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser, 1);

    connect(m_contents, &QPushButton::clicked, this,
            [this] { m_browser->setSource(QUrl::fromLocalFile(helpPagePath(m_folder, kHelpContents))); });
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void THelpForm::showPage(const QString& helpSetFolder, int context, const QString& notFoundText)
{
    m_folder = helpSetFolder;
    const QString page = helpPagePath(helpSetFolder, context);
    if (QFileInfo(page).isFile()) {
        m_current = page;
        m_browser->setSource(QUrl::fromLocalFile(page));
    } else {
        m_current.clear();
        m_browser->setPlainText(QString(notFoundText).replace(QStringLiteral("%s"), page));
    }
    show();
    raise();
    activateWindow();
}

} // namespace korvimo
