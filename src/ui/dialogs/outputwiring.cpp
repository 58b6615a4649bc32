#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

void wireDataOutputWindows(const WindowWiring&) {}

} // namespace korvimo
