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
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    // Blanks after the digits are forgiven too: a hand-edited line often
    // carries them and they cannot change the number.
    qsizetype end = n;
    while (end > i && text[end - 1].isSpace())
        --end;
    if (i == end)
        return std::nullopt;
    // Accumulate as a negative number so that INT_MIN is representable.
    long long value = 0;
    for (; i < end; ++i) {
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
    // Keep the quoted text short: a broken line may be very long.
    QString shown = text.left(40).toString();
    if (text.size() > 40)
        shown += QStringLiteral("...");
    return QStringLiteral("'%1' is not a valid integer value").arg(shown);
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
