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
#include <QString>
#include <QStringList>
#include <optional>

namespace korvimo {

enum class ChangeAllMode {
    Increase, // "verhogen": v + n (a negative n lowers)
    Multiply, // "vermenigvuldigen": n x v / 1000, rounded halves to even
};

// Results beyond the 32-bit range are held at its ends, so that every line
// the change writes can be read again. Returns the number of lines changed.
int AlleIntensiteitenWijzigen(QStringList& intensities, ChangeAllMode mode, int n);

// A number as the change-all dialog takes it: mantissa / 10^decimals.
struct TypedDecimal {
    long long mantissa = 0;
    int decimals = 0;
    bool isWhole() const;
    double value() const;
};
// An optional sign, digits and at most one decimal sign, "." or "," (both
// are read as the decimal sign, so that "1.5" is never fifteen); blanks at
// either end are ignored. Nothing for any other text, or for more than 18
// digits or 9 decimals.
std::optional<TypedDecimal> parseTypedDecimal(const QString& text);
// The change with a decimal n, computed exactly and rounded once at the end
// (halves to even): "vermenigvuldigen" with 1100.5 multiplies by 1.1005.
int AlleIntensiteitenWijzigen(QStringList& intensities, ChangeAllMode mode, const TypedDecimal& n);

// Every active volume line of kind "I" := name=n;I;. Returns the number of
// lines set; a malformed value stops it like the change above.
int AlleIntensiteitenOp(QStringList& intensities, int n);

} // namespace korvimo
