#include "ui/mainwindow/formpositions.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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

// Puts the frame's corner at `corner`. Before the window manager has framed
// the window Qt cannot tell the frame from the client; a frame-inclusive
// position lets the window manager place the frame itself.
void placeFrame(QWidget& window, QPoint corner)
{
    if (QWindow* handle = window.windowHandle()) {
        handle->setFramePosition(corner);
        // Placed on purpose: a dialog must not centre itself over its owner.
        window.setAttribute(Qt::WA_Moved);
    } else {
        window.move(corner);
    }
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
    // The size first: Qt takes a new size as a client rectangle, which would
    // undo a frame-inclusive position.
    if (act.setSize)
        window.resize(act.size);
    placeFrame(window, act.position);
    window.setProperty(kWantedCornerProperty, act.position);
    // Long enough for any window manager to frame the window; later moves
    // are the user's.
    QTimer::singleShot(2000, &window, [&window] { window.setProperty(kWantedCornerProperty, QVariant()); });
    window.setProperty(kNormalFrameProperty, QRect(act.position, act.setSize ? act.size : window.size()));
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
        if (watched != &m_window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            // Each entry is used once per run (it is removed when applied).
            restoreFormPosition(m_window, m_positions, m_main);
            break;
        case QEvent::Move:
        case QEvent::Resize:
            settle();
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
    // A window manager that ignored the frame-inclusive position put the
    // client where the frame should be; once Qt knows the frame, the window
    // goes where it was asked to. Any other place (the user moved it) is
    // left alone.
    void settle()
    {
        const QVariant wanted = m_window.property(kWantedCornerProperty);
        if (!wanted.isValid() || !m_window.isVisible())
            return;
        const QPoint corner = wanted.toPoint();
        const QPoint frame = m_window.frameGeometry().topLeft();
        const QPoint client = m_window.geometry().topLeft();
        if (frame == client)
            return; // not framed yet (or never: then the client is the frame)
        m_window.setProperty(kWantedCornerProperty, QVariant());
        if (client == corner && isNormal(m_window))
            m_window.move(corner);
    }

    QWidget& m_window;
    QStringList& m_positions;
    const QWidget* m_main;
};

void keepFormPosition(QWidget& window, QStringList& positions, const QWidget* mainWindow)
{
    new FormPositionKeeper(window, positions, mainWindow);
}

} // namespace korvimo
