#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

void wireEditingWindows(const WindowWiring&) {}

} // namespace korvimo
