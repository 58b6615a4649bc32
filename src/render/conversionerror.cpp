#include "render/conversionerror.h"

#include <limits>

namespace korvimo {

ConversionError::ConversionError(const QString& text) : std::runtime_error(text.toStdString()) {}

int parseInteger(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    bool ok = i < t.size();
    long long value = 0;
    for (; ok && i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') {
            ok = false;
            break;
        }
        value = value * 10 + (c - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            ok = false;
    }
    if (ok) {
        if (negative)
            value = -value;
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            ok = false;
    }
    if (!ok) {
        // Keep the quoted text short: a broken line may be very long.
        QString shown = text.left(40).toString();
        if (text.size() > 40)
            shown += QStringLiteral("...");
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(shown));
    }
    return static_cast<int>(value);
}

} // namespace korvimo
