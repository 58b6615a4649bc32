#pragma once
// Small routines that the readers apply to a freshly opened template: put in
// a volume, choose the scale from the highest volume (render/volumes.h).
#include <QString>
#include <QStringList>

namespace korvimo {

// IntensiteitVervangen: value is read as a decimal integer (0 when it is not
// one); every line whose first four characters equal name becomes
// name=value;I; - whatever else it held is dropped. Nothing is added when no
// line matches. Returns the number of lines replaced.
int IntensiteitVervangen(QStringList& intensities, const QString& name, const QString& value);

// The volume scale for a freshly loaded diagram whose highest volume is h:
// sfactorForHighestVolume (render/volumes.h), but never below 100. Above
// 10000 vehicles that rounding reaches 0 and no band would be drawn at all.
int loadedDiagramSfactor(int h);

} // namespace korvimo
