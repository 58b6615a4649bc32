#include "ui/mainwindow/formpositions.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace korvimo {

namespace {

// Where the window's frame was while it was last in its normal state (its
// corner and the client size), for a window that is maximised now.
constexpr const char* kNormalFrameProperty = "korvimoNormalFrame";
// The frame corner a restore asked for, until the window manager has put
// the frame there.
constexpr const char* kWantedCornerProperty = "korvimoWantedCorner";

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

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens())
        areas << s->availableGeometry();
    return areas;
}

bool isNormal(const QWidget& w)
{
    return !(w.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

// Until the window manager has framed a window Qt takes the frame for the
// client, so the first placement puts the client where the frame should
// be. Once the frame is known the window goes where it was asked to; a
// window that is somewhere else by then (the user moved it) is left alone.
// True when nothing is left to wait for.
bool settle(QWidget& window)
{
    const QVariant wanted = window.property(kWantedCornerProperty);
    if (!wanted.isValid())
        return true;
    if (!window.isVisible())
        return false;
    const QPoint corner = wanted.toPoint();
    const QPoint frame = window.frameGeometry().topLeft();
    const QPoint client = window.geometry().topLeft();
    if (frame == client)
        return false; // not framed yet (or never: then the client is the frame)
    window.setProperty(kWantedCornerProperty, QVariant());
    if (client == corner && isNormal(window))
        window.move(corner);
    return true;
}

} // namespace

WindowPlacement placementOf(const QWidget& window)
{
    WindowPlacement p;
    p.name = window.objectName();
    p.maximized = window.isMaximized();
    QRect normal(window.frameGeometry().topLeft(), window.geometry().size());
    if (!isNormal(window)) {
        const QRect remembered = window.property(kNormalFrameProperty).toRect();
        if (remembered.isValid()) {
            normal = remembered;
        } else {
            // Never seen in its normal state this run: its normal client
            // place, moved out by the frame it has now.
            const QRect g = window.normalGeometry();
            const QPoint frame = window.geometry().topLeft() - window.frameGeometry().topLeft();
            normal = QRect(g.topLeft() - frame, g.size());
        }
    }
    p.left = normal.left();
    p.top = normal.top();
    p.width = normal.width();
    p.height = normal.height();
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
    target.screens = screenAreas();
    const RestoreAction act = windowRestoreAction(*stored, target);
    if (window.isMaximized())
        window.showNormal();
    if (!act.useEntry)
        return;
    if (act.setSize)
        window.resize(act.size);
    // Right once Qt knows the frame; before that the client lands where the
    // frame should be, which the poll below settles once the frame is known.
    window.move(act.position);
    window.setProperty(kNormalFrameProperty, QRect(act.position, act.setSize ? act.size : window.size()));
    if (window.frameGeometry() != window.geometry()) {
        // Framed already: the move was right.
        if (act.maximize)
            window.showMaximized();
        return;
    }
    window.setProperty(kWantedCornerProperty, act.position);
    // The frame shows up without any event of the window's own; two seconds
    // are long enough for any window manager, later moves are the user's. A
    // maximised window is maximised once its normal place is right.
    auto* poll = new QTimer(&window);
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, maximize = act.maximize, ticks = 0]() mutable {
        if (settle(window) || ++ticks >= 40) {
            window.setProperty(kWantedCornerProperty, QVariant());
            poll->stop();
            poll->deleteLater();
            if (maximize)
                window.showMaximized();
        }
    });
    poll->start();
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
        if (watched != &m_window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            // Each entry is used once per run (it is removed when applied).
            restoreFormPosition(m_window, m_positions, m_main);
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window.isVisible() && isNormal(m_window) && !m_window.property(kWantedCornerProperty).isValid())
                m_window.setProperty(kNormalFrameProperty,
                                     QRect(m_window.frameGeometry().topLeft(), m_window.geometry().size()));
            break;
        default:
            break;
        }
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
