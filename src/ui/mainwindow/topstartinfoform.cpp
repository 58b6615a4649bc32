#include "ui/mainwindow/topstartinfoform.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/messenger.h"
#include "core/programpaths.h"
#include "uikit/icons.h"

namespace korvimo {

VersionInfo VersionInfo::fromText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    VersionInfo v;
    v.major = parts.value(0).toInt();
    v.minor = parts.value(1).toInt();
    v.release = parts.value(2).toInt();
    v.build = parts.value(3).toInt();
    v.productVersion = text;
    return v;
}

QString VersionInfo::versionText() const
{
    return QStringLiteral("%1.%2.%3 build %4").arg(major).arg(minor).arg(release).arg(build);
}

TOpstartInfoForm::TOpstartInfoForm(const VersionInfo& version, const QString& webAddress, bool dutch,
                                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_info(version)
{
    setObjectName(QStringLiteral("OpstartInfoForm"));
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(24, 20, 24, 16);

    auto* top = new QHBoxLayout();
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIconImage"));
    icon->setPixmap(uikit::programIcon(QStringLiteral("program")).pixmap(48, 48));
    top->addWidget(icon, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout();
    m_name = new QLabel(QString::fromLatin1(kProgramName), this);
    m_name->setObjectName(QStringLiteral("ProgramNameLabel"));
    QFont big = m_name->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    m_name->setFont(big);
    m_name->installEventFilter(this);
    texts->addWidget(m_name);
    m_version = new QLabel((dutch ? QStringLiteral("Versie %1") : QStringLiteral("Version %1"))
                               .arg(version.versionText()),
                           this);
    m_version->setObjectName(QStringLiteral("VersionLabel"));
    texts->addWidget(m_version);
    auto* web = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(webAddress.toHtmlEscaped()), this);
    web->setObjectName(QStringLiteral("WebAddressLabel"));
    web->setTextFormat(Qt::RichText);
    connect(web, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    texts->addWidget(web);
    top->addLayout(texts, 1);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("LogoImage"));
    logo->setPixmap(uikit::programIcon(QStringLiteral("program")).pixmap(96, 96));
    top->addWidget(logo);
    frame->addLayout(top);

    m_close = new QPushButton(QStringLiteral("&Sluiten"), this);
    m_close->setObjectName(QStringLiteral("SluitenButton"));
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    frame->addWidget(m_close, 0, Qt::AlignRight);
    m_close->setVisible(false);
    setStyleSheet(QStringLiteral("#OpstartInfoForm { border: 1px solid palette(mid); }"));
}

void TOpstartInfoForm::setCloseButtonVisible(bool on) { m_close->setVisible(on); }

void TOpstartInfoForm::keyPressEvent(QKeyEvent* event)
{
    Q_UNUSED(event);
    accept();
}

bool TOpstartInfoForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_name && event->type() == QEvent::MouseButtonDblClick && m_messenger) {
        m_messenger->information(QStringLiteral("Build: %1").arg(m_info.productVersion));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace korvimo
