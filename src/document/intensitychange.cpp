#include "document/intensitychange.h"

#include <climits>

#include "document/integertext.h"

namespace korvimo {

namespace {

bool isTextOrInactive(const QString& line)
{
    return line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#'));
}

// The value between "=" and the next ";", and whether the kind after that ";"
// is "I". Throws ConversionError for a value that is not an integer.
long long readVolume(const QString& line, bool* isVolume)
{
    const int eq = line.indexOf(QLatin1Char('='));
    const int semi = line.indexOf(QLatin1Char(';'), eq + 1);
    const QString valueText = line.mid(eq + 1, semi < 0 ? -1 : semi - eq - 1);
    const long long v = toInteger(valueText);
    *isVolume = semi >= 0 && semi + 1 < line.size() && line[semi + 1] == QLatin1Char('I');
    return v;
}

QString nameOf(const QString& line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.left(eq);
}

int clampToInt(long long v)
{
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int(v);
}

// Wide enough for a 32-bit volume times an 18-digit factor.
__extension__ typedef __int128 Int128;

// p / q (q > 0) to the nearest integer, halves to even.
long long divideRounded(Int128 p, Int128 q)
{
    Int128 d = p / q;
    Int128 r = p % q; // same sign as p
    if (r < 0) {
        r += q;
        d -= 1;
    }
    if (2 * r > q || (2 * r == q && (d & 1)))
        ++d;
    if (d > LLONG_MAX)
        return LLONG_MAX;
    if (d < LLONG_MIN)
        return LLONG_MIN;
    return static_cast<long long>(d);
}

Int128 powerOfTen(int n)
{
    Int128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

} // namespace

int AlleIntensiteitenWijzigen(QStringList& intensities, ChangeAllMode mode, int n)
{
    return AlleIntensiteitenWijzigen(intensities, mode, TypedDecimal{n, 0});
}

bool TypedDecimal::isWhole() const { return mantissa % static_cast<long long>(powerOfTen(decimals)) == 0; }

double TypedDecimal::value() const { return static_cast<double>(mantissa) / static_cast<double>(powerOfTen(decimals)); }

std::optional<TypedDecimal> parseTypedDecimal(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    TypedDecimal out;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (point)
                return std::nullopt;
            point = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            if (++digits > 18 || (point && out.decimals == 9))
                return std::nullopt;
            out.mantissa = out.mantissa * 10 + (c.unicode() - '0');
            if (point)
                ++out.decimals;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (negative)
        out.mantissa = -out.mantissa;
    return out;
}

int AlleIntensiteitenWijzigen(QStringList& intensities, ChangeAllMode mode, const TypedDecimal& n)
{
    const Int128 scale = powerOfTen(n.decimals);
    int changed = 0;
    for (QString& line : intensities) {
        if (isTextOrInactive(line))
            continue;
        // The value is read before the kind is looked at: a malformed value
        // line stops the change whatever its kind.
        bool isVolume = false;
        const long long v = readVolume(line, &isVolume);
        if (!isVolume)
            continue;
        const long long nv = mode == ChangeAllMode::Increase
                                 ? divideRounded(Int128(v) * scale + n.mantissa, scale)
                                 : divideRounded(Int128(v) * n.mantissa, scale * 1000);
        line = nameOf(line) + QLatin1Char('=') + QString::number(clampToInt(nv)) + QStringLiteral(";I;");
        ++changed;
    }
    return changed;
}

int AlleIntensiteitenOp(QStringList& intensities, int n)
{
    int changed = 0;
    for (QString& line : intensities) {
        if (isTextOrInactive(line))
            continue;
        bool isVolume = false;
        readVolume(line, &isVolume);
        if (!isVolume)
            continue;
        line = nameOf(line) + QLatin1Char('=') + QString::number(n) + QStringLiteral(";I;");
        ++changed;
    }
    return changed;
}

} // namespace korvimo
