#pragma once
// The coordinate list: lines "NNNN=X;Y;" in diagram units, "#..." inactive,
// "*..." text. Lookups take the first line whose first four characters equal
// the name, so an inactive line ("#001" ...) never matches a point name.
#include <QString>
#include <QStringList>

namespace korvimo {

// The first four characters of a line: its name.
inline QStringView lineName(const QString& line) { return QStringView(line).left(4); }

// Resolves a point into metafile units (the coordinates times 10). Leaves x
// and y untouched and returns false when no line carries the name. Throws
// ConversionError when the matching line's X or Y is not an integer.
bool resolvePoint(const QStringList& coordinates, QStringView name, long double& x, long double& y);

// X and Y of one coordinate line in diagram units, as written. Throws
// ConversionError for a malformed number.
void coordinateValues(const QString& line, int& x, int& y);

// The names offered for every point field: the first four characters of each
// line that begins with neither "*" nor "#", in list order.
QStringList pointNames(const QStringList& coordinates);

// Removes every line whose first character is not a decimal digit. Arcs call
// this on the working copy so the helper points of the previous arc go.
void removeNonNumericPoints(QStringList& coordinates);

} // namespace korvimo
