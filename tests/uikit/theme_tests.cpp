#include <gtest/gtest.h>

#include <QPalette>

#include "uikit/dpi.h"
#include "uikit/icons.h"
#include "uikit/theme.h"

using namespace korvimo::uikit;

TEST(Uikit_ThemeTests, ChoosingTheInterface)
{
    // Dark for setting 3, or for 1 on a dark desktop; never without dark mode.
    int theme = 3;
    EXPECT_TRUE(wantsDarkInterface(true, &theme, 1));
    theme = 1;
    EXPECT_TRUE(wantsDarkInterface(true, &theme, 0));
    theme = 1;
    EXPECT_FALSE(wantsDarkInterface(true, &theme, 1));
    theme = 2;
    EXPECT_FALSE(wantsDarkInterface(true, &theme, 0));
    theme = 3;
    EXPECT_FALSE(wantsDarkInterface(false, &theme, 0));
    EXPECT_EQ(theme, 1); // forced back to "follow the system"
}

TEST(Uikit_ThemeTests, SystemLightnessFromThePalette)
{
    // A light window with dark text reads as light; the reverse as dark.
    QPalette light;
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    light.setColor(QPalette::WindowText, Qt::black);
    EXPECT_EQ(appsUseLightTheme(light), 1);
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    EXPECT_EQ(appsUseLightTheme(dark), 0);
    Theme t(dark);
    EXPECT_EQ(t.GetRegAppsUseLightTheme(), 0);
}

TEST(Uikit_ThemeTests, WindowsColourValuesAreBlueGreenRed)
{
    // 0x00BBGGRR: the link colour 0xFFE600 is a light blue, the accent 0xD77800 a blue too.
    EXPECT_EQ(fromWindowsColor(dark::kLink), QColor(0x00, 0xE6, 0xFF));
    EXPECT_EQ(fromWindowsColor(dark::kAccent), QColor(0x00, 0x78, 0xD7));
    EXPECT_EQ(toWindowsColor(QColor(0x00, 0x78, 0xD7)), dark::kAccent);
    EXPECT_EQ(fromWindowsColor(9868950), QColor(0x96, 0x96, 0x96));
    const QPalette p = darkPalette();
    EXPECT_EQ(p.color(QPalette::Window), QColor(0x28, 0x28, 0x28));
    EXPECT_EQ(p.color(QPalette::Base), QColor(0x45, 0x45, 0x45));
    EXPECT_EQ(p.color(QPalette::WindowText), QColor(0xDC, 0xDC, 0xDC));
}

TEST(Uikit_DpiTests, IconSetsAndPrintFontFactor)
{
    // Icon sets switch at 30 and 40 pixels; the print font factor is the inverse scale.
    EXPECT_EQ(buttonIconSize(29), 18);
    EXPECT_EQ(buttonIconSize(30), 24);
    EXPECT_EQ(toolBarIconSize(39), 24);
    EXPECT_EQ(toolBarIconSize(40), 36);
    ScaleState s;
    EXPECT_DOUBLE_EQ(s.printFontFactor(), 1.0);
    s.noteInitialScale(nullptr);
    EXPECT_DOUBLE_EQ(s.GetInitScaleMainMonitorFactor(), 1.0);
}

TEST(Uikit_IconTests, EveryIconDrawsSomething)
{
    // Each named icon paints visible pixels at the small and the large size.
    for (const QString& name : iconNames()) {
        for (int size : {18, 36}) {
            const QImage img = programIcon(name).pixmap(size, size).toImage();
            int inked = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    inked += qAlpha(img.pixel(x, y)) > 0;
            EXPECT_GT(inked, size) << name.toStdString() << " at " << size;
        }
    }
    EXPECT_TRUE(programIcon("no-such-icon").isNull());
}
