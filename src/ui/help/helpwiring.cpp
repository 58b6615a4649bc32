#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

void wireLanguageHelpWindows(const WindowWiring&) {}

} // namespace korvimo
