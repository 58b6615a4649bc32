#include "ui/help/helpcontext.h"

#include <QWidget>

#include "ui/help/helpsystem.h"

namespace korvimo {

void openHelpContext(QWidget* from, int context)
{
    if (HelpSystem* help = HelpSystem::findFor(from))
        help->show(context, from);
}

void setHelpContext(QWidget& window, int context) { window.setProperty(kHelpContextProperty, context); }

} // namespace korvimo
