#pragma once
// Context help. A window that has a help page carries its context number in
// the dynamic property "helpContext"; F1 anywhere inside it and its help
// button both open that page through `openHelpContext`.
class QWidget;

namespace korvimo {

inline constexpr const char* kHelpContextProperty = "helpContext";

// Opens the help page of `context` in the help window, beside `from`.
// Does nothing visible while no help window is installed (see helpwiring).
void openHelpContext(QWidget* from, int context);

// Marks `window` with its help context number.
void setHelpContext(QWidget& window, int context);

} // namespace korvimo
