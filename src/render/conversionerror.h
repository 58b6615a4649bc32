#pragma once
// A malformed number in a diagram's lists. It stops the drawing of the whole
// diagram; its text is shown to the user as it is.
#include <QString>
#include <QStringView>
#include <stdexcept>

namespace korvimo {

class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
    QString text() const { return QString::fromUtf8(what()); }
};

// A decimal integer with an optional sign, surrounding blanks allowed.
// Throws ConversionError for anything else, including an empty text and a
// value outside the 32-bit range.
int parseInteger(QStringView text);

} // namespace korvimo
