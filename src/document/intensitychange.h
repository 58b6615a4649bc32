#pragma once
// Changes to every traffic volume at once: the change-all dialog's OK and its
// form-free sibling that the import requests use to start from nothing.
//
// Only active lines of kind "I" change (neither "*" nor "#" first, "I" the
// first character after the first ";"); value lines of kind "V", text lines
// and inactive lines stay as they are. A changed line becomes
// name=value;I; with name the text before "=". A value that is not a decimal
// integer stops the change with ConversionError; lines changed before it stay
// changed.
#include <QStringList>

namespace korvimo {

enum class ChangeAllMode {
    Increase, // "verhogen": v + n (a negative n lowers)
    Multiply, // "vermenigvuldigen": n x v / 1000, rounded halves to even
};

// Results beyond the 32-bit range are held at its ends, so that every line
// the change writes can be read again. Returns the number of lines changed.
int AlleIntensiteitenWijzigen(QStringList& intensities, ChangeAllMode mode, int n);

// Every active volume line of kind "I" := name=n;I;. Returns the number of
// lines set; a malformed value stops it like the change above.
int AlleIntensiteitenOp(QStringList& intensities, int n);

} // namespace korvimo
