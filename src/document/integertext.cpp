#include "document/integertext.h"

namespace korvimo {

ConversionError::ConversionError(const QString& text)
    : std::runtime_error(text.toStdString()), m_text(text)
{
}

std::optional<int> parseInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return std::nullopt;
    // Accumulate as a negative number so that INT_MIN is representable.
    long long value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return int(value);
}

QString integerConversionErrorText(QStringView text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

int toInteger(QStringView text)
{
    if (const auto v = parseInteger(text))
        return *v;
    throw ConversionError(integerConversionErrorText(text));
}

int toIntegerOr(QStringView text, int fallback)
{
    const auto v = parseInteger(text);
    return v ? *v : fallback;
}

} // namespace korvimo
