#include "ui/dialogs/dialoghelpers.h"

#include <QColorDialog>
#include <QFontDialog>

#include "uikit/theme.h"

namespace korvimo::dialogs {

std::optional<QColor> BepaalKleur(const QColor& current, QWidget* parent)
{
    const QColor c = QColorDialog::getColor(current, parent);
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

std::optional<int> BepaalKleur(int current, QWidget* parent)
{
    const std::optional<QColor> c = BepaalKleur(uikit::fromWindowsColor(current), parent);
    return c ? std::optional<int>(uikit::toWindowsColor(*c)) : std::nullopt;
}

std::optional<QFont> chooseSystemFont(const QFont& current, QWidget* parent)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, current, parent);
    return ok ? std::optional<QFont>(f) : std::nullopt;
}

} // namespace korvimo::dialogs
