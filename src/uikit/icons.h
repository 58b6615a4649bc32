#pragma once
// The program's own icons, drawn as vectors so that they stay sharp at every
// screen scale (18, 24 and 36 pixel sets are the same drawing). Disabled
// icons are drawn faded.
#include <QIcon>
#include <QString>
#include <QStringList>

namespace korvimo::uikit {

// The icon named `name` ("new", "open", "save", "close", "export", "print",
// "copydiagram", "arms", "format", "texts", "overview", "compose",
// "zoomout", "zoomin", "zoomall", "pan", "lightdark", "coordinates",
// "help", "internet", "server", "add", "change", "delete", "copy", "paste",
// "program"). An unknown name gives a null icon.
QIcon programIcon(const QString& name);
QStringList iconNames();

} // namespace korvimo::uikit
