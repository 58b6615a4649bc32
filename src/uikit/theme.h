#pragma once
// Light and dark interface. The dark interface is the Fusion style with the
// program's own dark palette; "follow the system" reads the desktop's
// palette as Qt reported it before the program changed anything.
//
// Contract: the dark interface goes on at most once per run and never off
// again (the settings dialog says "after a restart" for the light choice).
#include <QColor>
#include <QPalette>

class QApplication;
class QWidget;

namespace korvimo::uikit {

// The dark palette as Windows colour values (0x00BBGGRR).
namespace dark {
inline constexpr int kBackground = 2631720; // window, read-only fields, tool bars, splitters
inline constexpr int kScrollArea = 2960685; // scroll boxes
inline constexpr int kThirdGrey = 3289650;
inline constexpr int kHot = 4605510;        // hot-tracked tool buttons, grid header gradient start
inline constexpr int kField = 4539717;      // editable fields, lists, grids
inline constexpr int kMidGrey = 7566195;
inline constexpr int kLightGrey = 12500670;
inline constexpr int kText = 14474460;
inline constexpr int kLink = 16770560;
inline constexpr int kAccent = 14120960;
} // namespace dark

// 0x00BBGGRR to a colour, and back.
QColor fromWindowsColor(int bgr);
int toWindowsColor(const QColor& c);

// Marks a widget that is a scroll box without being a QScrollArea (the
// overview's box): the dark interface gives it the scroll-area grey.
inline constexpr const char* kScrollBoxProperty = "korvimoScrollBox";
// Gives a widget the scroll-area grey of the dark interface.
void paintScrollArea(QWidget& w);

// The whole application palette of the dark interface.
QPalette darkPalette();

// Whether the dark interface can be used. The Fusion style carries it on
// every desktop, so this is true unless the style cannot be made.
bool DarkModeAllowed();

// 1 when the palette reads as light (its window colour is lighter than its
// text), 0 when the desktop runs a dark scheme.
int appsUseLightTheme(const QPalette& systemPalette);

// Whether the dark interface should be switched on for the InterfaceTheme
// setting (1 follow the system, 2 light, 3 dark). When dark mode is not
// allowed the setting is forced to 1 and the answer is no.
bool wantsDarkInterface(bool darkModeAllowed, int* interfaceTheme, int appsUseLight);

class Theme {
public:
    // Remembers the desktop's palette; call before anything changes it.
    explicit Theme(const QPalette& systemPalette) : m_system(systemPalette) {}

    int GetRegAppsUseLightTheme() const { return appsUseLightTheme(m_system); }
    bool darkActive() const { return m_darkActive; }

    // Switches the application to Fusion with the dark palette and repaints
    // every window. Does nothing the second time.
    void SetDarkModeForApplication(QApplication& app);

    // The colours that do not follow from the palette alone: scroll boxes
    // (every QScrollArea and every widget marked kScrollBoxProperty) and
    // grids. Does nothing while the dark interface is off.
    void DarkenForm(QWidget& form) const;

private:
    QPalette m_system;
    bool m_darkActive = false;
};

} // namespace korvimo::uikit
