#pragma once
// The real windows behind the remembered window positions: where a window
// is now, and putting a window back where it was last run. The rules of
// what is kept and what is used live with the settings.
#include <QList>
#include <QStringList>

#include "settings/windowpositions.h"

class QWidget;

namespace korvimo {

// The window's state, position and size as they will be remembered.
WindowPlacement placementOf(const QWidget& window);

// Applies and removes the window's entry (named after its objectName), when
// there is one and the window is visible. The main window's monitor decides
// whether an entry of another window still fits the desktop.
void restoreFormPosition(QWidget& window, QStringList& positions, const QWidget* mainWindow);

// Restores each given window the first time it is shown.
class FormPositionKeeper;
void keepFormPosition(QWidget& window, QStringList& positions, const QWidget* mainWindow);

} // namespace korvimo
