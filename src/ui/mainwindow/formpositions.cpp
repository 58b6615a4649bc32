#include "ui/mainwindow/formpositions.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace korvimo {

namespace {

int monitorOf(const QWidget* w)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const qsizetype i = w ? screens.indexOf(w->screen()) : -1;
    return i < 0 ? 0 : static_cast<int>(i);
}

QRect virtualDesktop()
{
    QRect r;
    for (const QScreen* s : QGuiApplication::screens())
        r = r.united(s->geometry());
    return r;
}

} // namespace

WindowPlacement placementOf(const QWidget& window)
{
    WindowPlacement p;
    p.name = window.objectName();
    p.maximized = window.isMaximized();
    const QRect g = p.maximized ? window.normalGeometry() : window.geometry();
    // The position is the frame's corner, as the window manager places it.
    const QPoint corner = p.maximized ? g.topLeft() : window.frameGeometry().topLeft();
    p.left = corner.x();
    p.top = corner.y();
    p.width = g.width();
    p.height = g.height();
    p.monitor = monitorOf(&window);
    return p;
}

void restoreFormPosition(QWidget& window, QStringList& positions, const QWidget* mainWindow)
{
    if (!window.isVisible())
        return;
    const std::optional<WindowPlacement> stored = takeWindowPosition(positions, window.objectName());
    if (!stored)
        return;
    RestoreTarget target;
    target.isMainWindow = &window == mainWindow;
    target.mainWindowMonitor = monitorOf(mainWindow);
    target.sizeable = window.minimumSize() != window.maximumSize();
    target.desktop = virtualDesktop();
    const RestoreAction act = windowRestoreAction(*stored, target);
    if (window.isMaximized())
        window.showNormal();
    if (!act.useEntry)
        return;
    window.move(act.position);
    if (act.setSize)
        window.resize(act.size);
    if (act.maximize)
        window.showMaximized();
}

class FormPositionKeeper final : public QObject {
public:
    FormPositionKeeper(QWidget& window, QStringList& positions, const QWidget* mainWindow)
        : QObject(&window), m_window(window), m_positions(positions), m_main(mainWindow)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Each entry is used once per run (it is removed when applied).
        if (watched == &m_window && event->type() == QEvent::Show)
            restoreFormPosition(m_window, m_positions, m_main);
        return false;
    }

private:
    QWidget& m_window;
    QStringList& m_positions;
    const QWidget* m_main;
};

void keepFormPosition(QWidget& window, QStringList& positions, const QWidget* mainWindow)
{
    new FormPositionKeeper(window, positions, mainWindow);
}

} // namespace korvimo
