#include "ui/help/helpsystem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

#include "core/programcontext.h"
#include "ui/help/helpcontext.h"

namespace korvimo {

HelpSystem::HelpSystem(ProgramContext& ctx, QWidget& mainWindow) : QObject(&mainWindow), m_ctx(ctx), m_main(mainWindow)
{
    setObjectName(QStringLiteral("HelpSystem"));
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

HelpSystem::~HelpSystem()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

QString HelpSystem::helpSetFolder() const
{
    return m_ctx.paths.helpFolder + m_ctx.settings.languageHelp + QLatin1Char('/');
}

int HelpSystem::contextFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kHelpContextProperty);
        if (v.isValid() && v.toInt() > 0)
            return v.toInt();
    }
    return kHelpContents;
}

HelpSystem* HelpSystem::findFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* h = w->findChild<HelpSystem*>(QString(), Qt::FindDirectChildrenOnly))
            return h;
    }
    // A window without a parent: the program has one main window.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* h = top->findChild<HelpSystem*>(QString(), Qt::FindDirectChildrenOnly))
            return h;
    }
    return nullptr;
}

THelpForm& HelpSystem::windowFor(QWidget* host)
{
    // A modal dialog blocks every window but its own children, so the help
    // window moves under the dialog that asks for it.
    if (!m_window) {
        m_window = new THelpForm(host);
        if (m_geometry.isValid())
            m_window->setGeometry(m_geometry);
    } else if (m_window->parentWidget() != host) {
        m_geometry = m_window->geometry();
        m_window->setParent(host, m_window->windowFlags());
        m_window->setGeometry(m_geometry);
    }
    return *m_window;
}

void HelpSystem::show(int context, QWidget*)
{
    QWidget* host = QApplication::activeModalWidget();
    if (!host)
        host = &m_main;
    THelpForm& w = windowFor(host);
    w.showPage(helpSetFolder(), context, m_ctx.texts.fixed().fileNotFound);
    m_geometry = w.geometry();
}

bool HelpSystem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            auto* w = static_cast<QWidget*>(watched);
            show(contextFor(w), w);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvimo
