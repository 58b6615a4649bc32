#pragma once
// Small routines that the readers apply to a freshly opened template: put in
// a volume, find the highest volume, choose the scale from it.
#include <QString>
#include <QStringList>

namespace korvimo {

// IntensiteitVervangen: value is read as a decimal integer (0 when it is not
// one); every line whose first four characters equal name becomes
// name=value;I; - whatever else it held is dropped. Nothing is added when no
// line matches. Returns the number of lines replaced.
int IntensiteitVervangen(QStringList& intensities, const QString& name, const QString& value);

// The highest volume of the active lines (neither "*" nor "#" first) that
// contain an "I" anywhere, read between the first "=" and the next ";";
// -1 when there is none. Throws ConversionError for a malformed value.
int highestVolume(const QStringList& intensities);

// The volume scale for a highest volume h: 1000 when h is not greater than
// 0, otherwise round(5000 / h) x 100 with halves to the even neighbour. Above
// 10000 vehicles that rounding would reach 0 and no band would be drawn at
// all, so the scale never goes below 100.
int sfactorForHighestVolume(int h);

} // namespace korvimo
