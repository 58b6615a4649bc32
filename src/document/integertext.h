#pragma once
// Decimal integers as the program's text files and lines hold them, and the
// error that a malformed one raises. Readers throw ConversionError at the
// first bad number; the command that started the reading catches it and
// shows its text, so what was read before the bad number stays.
#include <QString>
#include <QStringView>
#include <optional>
#include <stdexcept>

namespace korvimo {

class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
    // "'abc' is not a valid integer value": names the offending text.
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// Blanks, an optional sign and decimal digits that fit a signed 32-bit
// integer, then blanks; nothing else (no hex, no fraction).
std::optional<int> parseInteger(QStringView text);

// parseInteger or throw ConversionError naming text.
int toInteger(QStringView text);

// parseInteger, or fallback when the text is not a decimal integer.
int toIntegerOr(QStringView text, int fallback);

// The message of ConversionError for text.
QString integerConversionErrorText(QStringView text);

} // namespace korvimo
