#pragma once
// Decimal integers as the program's text files and lines hold them. The
// strict reader is parseInteger (render/conversionerror.h), which throws
// ConversionError naming the offending text; readers let that error stop the
// reading and the command that started it shows the text, so what was read
// before the bad number stays. These are the lenient companions.
#include <QStringView>
#include <optional>

#include "render/conversionerror.h"

namespace korvimo {

// What parseInteger accepts (an optional sign and decimal digits that fit a
// signed 32-bit integer, surrounding blanks allowed), without throwing.
std::optional<int> tryParseInteger(QStringView text);

// tryParseInteger, or fallback when the text is not a decimal integer.
int toIntegerOr(QStringView text, int fallback);

} // namespace korvimo
