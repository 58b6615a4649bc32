#pragma once
// The remembered positions of the program's windows: one text per window,
// "HoofdForm=M:0;L:100;T:50;W:1200;H:800;N:0;", kept in the settings file.
// These functions only work on the list; the desktop shell reads and moves
// the real windows.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvimo {

struct WindowPlacement {
    QString name; // the window's component name, e.g. "HoofdForm"
    bool maximized = false;
    // The corner of the window's frame (as the window manager places it) and
    // the size of its client area; for a maximised window its normal place.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int monitor = 0; // number of the monitor that shows the window
};

QString formatWindowPosition(const WindowPlacement& placement);
// The text before the first "=" (the whole entry when there is none).
QString windowPositionName(const QString& entry);
// Each number is the text after the first "<letter>:" of the part after the
// name, up to the next ";"; anything that is not an integer, or a missing
// letter, gives 0. Maximised exactly when M is "1".
WindowPlacement parseWindowPosition(const QString& entry);

// Index of the first entry named name (without regard to case), or -1.
qsizetype findWindowPosition(const QStringList& list, const QString& name);

// The exit step for one window: a window whose left and top are both 0 has
// never been placed and is skipped; otherwise its entry replaces the first
// entry of the same name, or is appended.
void collectWindowPosition(QStringList& list, const WindowPlacement& placement);

// Removes and returns the window's entry, so each entry is applied at most
// once per run. Nothing when there is none (the list is unchanged).
std::optional<WindowPlacement> takeWindowPosition(QStringList& list, const QString& name);

// What the window being restored is and where it may go.
struct RestoreTarget {
    bool isMainWindow = false;
    int mainWindowMonitor = 0; // the monitor that now shows the main window
    bool sizeable = true;
    // The virtual desktop: the union of all screens.
    QRect desktop;
    // The areas of the screens that windows may use; empty when unknown.
    QList<QRect> screens;
};

// What to do with a window once its entry was taken. The window is always
// put in its normal (not maximised) state first; then, only when useEntry,
// moved to position, resized when setSize, and maximised when maximize.
struct RestoreAction {
    bool useEntry = false;
    QPoint position;
    bool setSize = false;
    QSize size;
    bool maximize = false;
};

// An entry is used only when its width and height are not 0, it belongs to
// the main window or to the monitor that shows the main window now, and its
// left/top lie on the desktop with 20 pixels of tolerance. A sizeable window
// also takes the stored size (a maximised one as its normal size); others
// keep theirs. The position is then kept reachable (reachablePosition with the stored
// size): a desktop made of screens of different sizes has corners that no
// screen shows.
RestoreAction windowRestoreAction(const WindowPlacement& stored, const RestoreTarget& target);

// Where a window whose frame would cover `frame` may go so that its title
// bar can be grabbed: unchanged while the top strip of the frame (20 pixels
// high) overlaps one of the screens by at least 40 pixels (or the whole
// width of a narrower window) and 10 pixels; otherwise moved the least into
// the nearest screen, as far as it fits. Unchanged without screens.
QPoint reachablePosition(const QRect& frame, const QList<QRect>& screens);

} // namespace korvimo
