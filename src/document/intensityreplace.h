#pragma once
// Puts a volume into a freshly opened template. The highest volume and the
// scale chosen from it live with the other volume rules (render/volumes.h).
#include <QString>
#include <QStringList>

namespace korvimo {

// IntensiteitVervangen: value is read as a decimal integer (0 when it is not
// one); every line whose first four characters equal name becomes
// name=value;I; - whatever else it held is dropped. Nothing is added when no
// line matches. Returns the number of lines replaced.
int IntensiteitVervangen(QStringList& intensities, const QString& name, const QString& value);

} // namespace korvimo
