#pragma once
// Screen resolution. Qt's high-DPI scaling does the scaling of every window
// (layouts, fonts, icons), so what is left here is reading the factor: the
// print font factor and the choice of icon sizes depend on it.
class QWidget;
class QScreen;

namespace korvimo::uikit {

// The window's DPI: 96 times the device-pixel ratio of its screen.
int GetDpiForForm(const QWidget* window);

// The icon set for a button of the given height in logical pixels: 18 below
// 30 pixels, 24 above. Tool bars: 24 below 40 pixels, 36 from 40 on.
int buttonIconSize(int buttonHeight);
int toolBarIconSize(int toolBarHeight);

// Holds the main monitor's scale factor as it was when the first window was
// scaled; 1 when the screen does not say.
class ScaleState {
public:
    // Stores the factor once; later calls keep the first value.
    void noteInitialScale(const QScreen* screen);
    double GetInitScaleMainMonitorFactor() const { return m_initial; }
    // 1 / initial factor, 1 when that factor is 0.
    double printFontFactor() const { return m_initial == 0 ? 1.0 : 1.0 / m_initial; }

private:
    bool m_known = false;
    double m_initial = 1.0;
};

} // namespace korvimo::uikit
