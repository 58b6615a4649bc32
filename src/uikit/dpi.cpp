#include "uikit/dpi.h"

#include <QScreen>
#include <QWidget>
#include <cmath>

namespace korvimo::uikit {

int GetDpiForForm(const QWidget* window)
{
    const double ratio = window ? window->devicePixelRatioF() : 1.0;
    return static_cast<int>(std::lround(96.0 * ratio));
}

int buttonIconSize(int buttonHeight) { return buttonHeight < 30 ? 18 : 24; }

int toolBarIconSize(int toolBarHeight) { return toolBarHeight < 40 ? 24 : 36; }

void ScaleState::noteInitialScale(const QScreen* screen)
{
    if (m_known)
        return;
    m_known = true;
    m_initial = screen ? screen->devicePixelRatio() : 1.0;
    if (m_initial <= 0)
        m_initial = 1.0;
}

} // namespace korvimo::uikit
