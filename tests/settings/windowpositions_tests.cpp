#include <gtest/gtest.h>

#include "settings/windowpositions.h"

using namespace korvimo;

namespace {

RestoreTarget dialogOn(int mainMonitor)
{
    RestoreTarget t;
    t.mainWindowMonitor = mainMonitor;
    t.desktop = QRect(0, 0, 1920, 1080);
    return t;
}

} // namespace

TEST(Settings_WindowPositionTests, FormatAndParse)
{
    // An entry is written in the fixed letter order and read back by letter,
    // whatever the order; missing or non-numeric fields give 0.
    const WindowPlacement p{QStringLiteral("HoofdForm"), false, 100, 50, 1200, 800, 0};
    EXPECT_EQ(formatWindowPosition(p), QStringLiteral("HoofdForm=M:0;L:100;T:50;W:1200;H:800;N:0;"));
    const WindowPlacement neg = parseWindowPosition(QStringLiteral("X=M:1;L:-1910;T:-8;W:5;H:6;N:2;"));
    EXPECT_TRUE(neg.maximized);
    EXPECT_EQ(neg.left, -1910);
    EXPECT_EQ(neg.top, -8);
    EXPECT_EQ(neg.monitor, 2);
    EXPECT_EQ(formatWindowPosition(neg), QStringLiteral("X=M:1;L:-1910;T:-8;W:5;H:6;N:2;"));

    const WindowPlacement odd = parseWindowPosition(QStringLiteral("ArmenForm=N:1;H:30;W:zz;L:7;M:2"));
    EXPECT_EQ(odd.name, QStringLiteral("ArmenForm"));
    EXPECT_FALSE(odd.maximized); // only "1" maximises
    EXPECT_EQ(odd.left, 7);
    EXPECT_EQ(odd.top, 0);
    EXPECT_EQ(odd.width, 0);
    EXPECT_EQ(odd.height, 30);
    EXPECT_EQ(odd.monitor, 1);
    // The letters are looked for after the name only: a name with "L:" in it
    // does not confuse the left position.
    EXPECT_EQ(parseWindowPosition(QStringLiteral("AL:9=L:3;")).left, 3);
    EXPECT_EQ(parseWindowPosition(QStringLiteral("[**Other**]")).width, 0);
}

TEST(Settings_WindowPositionTests, CollectReplacesOrAppends)
{
    // The first entry of the same name is replaced (any letter case), new
    // windows are appended, a window at 0,0 leaves the list alone.
    QStringList list{QStringLiteral("ScriptForm=M:0;L:1;T:1;W:1;H:1;N:0;"),
                     QStringLiteral("HoofdForm=old"), QStringLiteral("HoofdForm=older")};
    collectWindowPosition(list, {QStringLiteral("hoofdform"), true, 5, 6, 7, 8, 1});
    collectWindowPosition(list, {QStringLiteral("ArmenForm"), false, 0, 0, 300, 200, 0});
    collectWindowPosition(list, {QStringLiteral("ZoomFactorForm"), false, 0, 3, 300, 200, 0});
    EXPECT_EQ(list, (QStringList{"ScriptForm=M:0;L:1;T:1;W:1;H:1;N:0;", "hoofdform=M:1;L:5;T:6;W:7;H:8;N:1;",
                                 "HoofdForm=older", "ZoomFactorForm=M:0;L:0;T:3;W:300;H:200;N:0;"}));
}

TEST(Settings_WindowPositionTests, TakeAppliesEachEntryOnce)
{
    // Taking an entry removes it; a second activation finds nothing; windows
    // never shown keep theirs for the next run.
    QStringList list{QStringLiteral("ArmenForm=M:0;L:10;T:10;W:300;H:200;N:0;"),
                     QStringLiteral("KleurForm=M:0;L:20;T:20;W:100;H:100;N:0;"), QString()};
    const auto first = takeWindowPosition(list, QStringLiteral("ArmenForm"));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->width, 300);
    EXPECT_FALSE(takeWindowPosition(list, QStringLiteral("ArmenForm")).has_value());
    EXPECT_FALSE(takeWindowPosition(list, QString()).has_value()); // an empty line names nothing
    EXPECT_EQ(list.size(), 2);
    EXPECT_TRUE(list[0].startsWith(QStringLiteral("KleurForm=")));
}

TEST(Settings_WindowPositionTests, RestoreRules)
{
    // Size and position are applied on the main window's monitor; a zero size,
    // another monitor or a place off the desktop leaves the window where the
    // system puts it; fixed-size windows keep their size, maximised ones get it as their normal size.
    const WindowPlacement p = parseWindowPosition(QStringLiteral("ArmenForm=M:0;L:100;T:50;W:640;H:480;N:0;"));
    RestoreAction a = windowRestoreAction(p, dialogOn(0));
    EXPECT_TRUE(a.useEntry);
    EXPECT_EQ(a.position, QPoint(100, 50));
    EXPECT_TRUE(a.setSize);
    EXPECT_EQ(a.size, QSize(640, 480));
    EXPECT_FALSE(a.maximize);

    EXPECT_FALSE(windowRestoreAction(p, dialogOn(1)).useEntry);
    RestoreTarget main = dialogOn(1);
    main.isMainWindow = true;
    EXPECT_TRUE(windowRestoreAction(p, main).useEntry); // the main window ignores N

    WindowPlacement zero = p;
    zero.height = 0;
    EXPECT_FALSE(windowRestoreAction(zero, dialogOn(0)).useEntry);

    RestoreTarget fixed = dialogOn(0);
    fixed.sizeable = false;
    a = windowRestoreAction(p, fixed);
    EXPECT_TRUE(a.useEntry);
    EXPECT_FALSE(a.setSize);

    WindowPlacement max = p;
    max.maximized = true;
    a = windowRestoreAction(max, dialogOn(0));
    EXPECT_TRUE(a.maximize);
    EXPECT_TRUE(a.setSize); // its normal size, for when it is made normal again
    EXPECT_EQ(a.size, QSize(640, 480));
}

TEST(Settings_WindowPositionTests, DesktopToleranceEdges)
{
    // Up to 20 pixels left of or above the desktop still counts; one more
    // does not; the right and bottom edges themselves count. A desktop that
    // starts left of 0 (a monitor on the left) is honoured.
    const RestoreTarget t = dialogOn(0);
    auto usable = [&](int left, int top) {
        WindowPlacement p{QStringLiteral("W"), false, left, top, 10, 10, 0};
        return windowRestoreAction(p, t).useEntry;
    };
    EXPECT_TRUE(usable(-20, -20));
    EXPECT_FALSE(usable(-21, 0));
    EXPECT_FALSE(usable(0, -21));
    EXPECT_TRUE(usable(1920, 1080));
    EXPECT_FALSE(usable(1921, 0));
    EXPECT_FALSE(usable(0, 1081));

    // A second monitor that is gone: its entry no longer lies on the desktop.
    RestoreTarget main = t;
    main.isMainWindow = true;
    EXPECT_FALSE(windowRestoreAction({QStringLiteral("HoofdForm"), false, 2500, 100, 800, 600, 1}, main).useEntry);
    main.desktop = QRect(-1920, 0, 3840, 1080);
    EXPECT_TRUE(windowRestoreAction({QStringLiteral("HoofdForm"), false, -1900, 100, 800, 600, 1}, main).useEntry);
}

TEST(Settings_WindowPositionTests, TitleBarStaysOnAScreen)
{
    // With the screens known, an entry that passes the desktop rule but leaves the title bar where no screen
    // shows it is moved the least into the nearest screen; a title bar that shows stays exactly where it was.
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(reachablePosition(QRect(100, 50, 800, 600), screens), QPoint(100, 50));
    EXPECT_EQ(reachablePosition(QRect(-5, -5, 800, 600), screens), QPoint(-5, -5)); // a border off the edge
    EXPECT_EQ(reachablePosition(QRect(1800, 300, 800, 600), screens), QPoint(1800, 300)); // across both
    // The corner below the smaller screen belongs to no screen.
    EXPECT_EQ(reachablePosition(QRect(2500, 1050, 400, 300), screens), QPoint(2500, 1024 - 320));
    // The right and bottom edges of the desktop: pulled back in as far as the window fits.
    EXPECT_EQ(reachablePosition(QRect(3200, 500, 400, 300), screens), QPoint(3200 - 400, 500));
    EXPECT_EQ(reachablePosition(QRect(-20, -20, 10, 10), screens), QPoint(0, 0));
    // Only the last 30 pixels of the title bar show: too little to grab.
    EXPECT_EQ(reachablePosition(QRect(-770, 100, 800, 600), screens), QPoint(0, 100));
    // A window larger than its screen keeps its top-left corner on it.
    EXPECT_EQ(reachablePosition(QRect(100, 2000, 3000, 2000), screens), QPoint(0, 0));
    EXPECT_EQ(reachablePosition(QRect(5000, 5000, 10, 10), {}), QPoint(5000, 5000));

    // Through the restore rules: the entry is used, at the reachable place, with its own size.
    RestoreTarget t = dialogOn(0);
    t.desktop = QRect(0, 0, 3200, 1080);
    t.screens = screens;
    const RestoreAction a = windowRestoreAction({QStringLiteral("NieuwForm"), false, 1920, 1080, 400, 300, 0}, t);
    EXPECT_TRUE(a.useEntry);
    EXPECT_EQ(a.position, QPoint(1920 - 400, 1080 - 320)); // the first screen's corner is the nearer
    EXPECT_EQ(a.size, QSize(400, 300));
}
