#include "settings/windowpositions.h"

#include "document/integertext.h"

namespace korvimo {

namespace {

// Slack so that a window whose edge is just off the desktop (a border, a
// shadow) is still put back where it was.
constexpr int kDesktopTolerance = 20;

// The part of a frame's top that must show for its title bar to be grabbed.
constexpr int kTitleStrip = 20;
constexpr int kGripWidth = 40;
constexpr int kGripHeight = 10;

bool titleShows(const QRect& frame, const QRect& screen)
{
    const QRect strip(frame.left(), frame.top(), qMax(1, frame.width()), kTitleStrip);
    const QRect seen = strip.intersected(screen);
    return !seen.isEmpty() && seen.width() >= qMin(kGripWidth, strip.width()) && seen.height() >= kGripHeight;
}

// How far the frame's top-left corner is from the screen (0 inside it).
qint64 distanceTo(const QPoint& corner, const QRect& screen)
{
    const qint64 dx = corner.x() < screen.left() ? screen.left() - corner.x()
                      : corner.x() > screen.right() ? corner.x() - screen.right()
                                                     : 0;
    const qint64 dy = corner.y() < screen.top() ? screen.top() - corner.y()
                      : corner.y() > screen.bottom() ? corner.y() - screen.bottom()
                                                      : 0;
    return dx * dx + dy * dy;
}

int clampInto(int value, int low, int length, int span)
{
    // As far in as the window fits; a window larger than the screen keeps its
    // top or left edge on it.
    const int high = low + qMax(0, span - length);
    return qBound(low, value, high);
}

QString fieldText(const QString& values, QChar letter)
{
    const QString tag = QString(letter) + QLatin1Char(':');
    const qsizetype at = values.indexOf(tag);
    if (at < 0)
        return {};
    const qsizetype from = at + tag.size();
    const qsizetype end = values.indexOf(QLatin1Char(';'), from);
    return values.mid(from, end < 0 ? -1 : end - from);
}

int fieldNumber(const QString& values, QChar letter)
{
    return toIntegerOr(fieldText(values, letter), 0);
}

} // namespace

QString formatWindowPosition(const WindowPlacement& p)
{
    return QStringLiteral("%1=M:%2;L:%3;T:%4;W:%5;H:%6;N:%7;")
        .arg(p.name)
        .arg(p.maximized ? 1 : 0)
        .arg(p.left)
        .arg(p.top)
        .arg(p.width)
        .arg(p.height)
        .arg(p.monitor);
}

QString windowPositionName(const QString& entry)
{
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    return eq < 0 ? entry : entry.left(eq);
}

WindowPlacement parseWindowPosition(const QString& entry)
{
    WindowPlacement p;
    p.name = windowPositionName(entry);
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    const QString values = eq < 0 ? QString() : entry.mid(eq + 1);
    p.maximized = fieldText(values, QLatin1Char('M')) == QLatin1String("1");
    p.left = fieldNumber(values, QLatin1Char('L'));
    p.top = fieldNumber(values, QLatin1Char('T'));
    p.width = fieldNumber(values, QLatin1Char('W'));
    p.height = fieldNumber(values, QLatin1Char('H'));
    p.monitor = fieldNumber(values, QLatin1Char('N'));
    return p;
}

qsizetype findWindowPosition(const QStringList& list, const QString& name)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        // An entry without "=" names no window, even if its text equals one.
        if (list[i].contains(QLatin1Char('='))
            && windowPositionName(list[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void collectWindowPosition(QStringList& list, const WindowPlacement& placement)
{
    if (placement.left == 0 && placement.top == 0)
        return;
    const QString entry = formatWindowPosition(placement);
    const qsizetype at = findWindowPosition(list, placement.name);
    if (at >= 0)
        list[at] = entry;
    else
        list << entry;
}

std::optional<WindowPlacement> takeWindowPosition(QStringList& list, const QString& name)
{
    const qsizetype at = findWindowPosition(list, name);
    if (at < 0)
        return std::nullopt;
    const WindowPlacement p = parseWindowPosition(list.takeAt(at));
    return p;
}

RestoreAction windowRestoreAction(const WindowPlacement& stored, const RestoreTarget& target)
{
    RestoreAction a;
    if (stored.width == 0 || stored.height == 0)
        return a;
    if (!target.isMainWindow && stored.monitor != target.mainWindowMonitor)
        return a;
    // Windows-style edges: right and bottom lie just outside the area.
    const QRect& d = target.desktop;
    const int right = d.x() + d.width();
    const int bottom = d.y() + d.height();
    if (stored.left > right || stored.left + kDesktopTolerance < d.x() || stored.top > bottom
        || stored.top + kDesktopTolerance < d.y())
        return a;
    a.useEntry = true;
    a.position = reachablePosition(QRect(stored.left, stored.top, stored.width, stored.height), target.screens);
    a.maximize = stored.maximized;
    // A maximised window gets its normal size too, so that it comes back to
    // it when it is made normal again.
    if (target.sizeable) {
        a.setSize = true;
        a.size = QSize(stored.width, stored.height);
    }
    return a;
}

QPoint reachablePosition(const QRect& frame, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return frame.topLeft();
    for (const QRect& s : screens) {
        if (titleShows(frame, s))
            return frame.topLeft();
    }
    const QRect* nearest = &screens.first();
    for (const QRect& s : screens) {
        if (distanceTo(frame.topLeft(), s) < distanceTo(frame.topLeft(), *nearest))
            nearest = &s;
    }
    return QPoint(clampInto(frame.left(), nearest->left(), frame.width(), nearest->width()),
                  clampInto(frame.top(), nearest->top(), frame.height() + kTitleStrip, nearest->height()));
}

} // namespace korvimo
