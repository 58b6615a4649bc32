#include "ui/help/helpcontext.h"

#include <QWidget>

namespace korvimo {

void openHelpContext(QWidget*, int) {}

void setHelpContext(QWidget& window, int context) { window.setProperty(kHelpContextProperty, context); }

} // namespace korvimo
