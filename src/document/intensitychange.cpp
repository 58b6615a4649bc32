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

// n * v / 1000 exactly, then to the nearest integer with halves to even.
long long multiplyPerMille(long long v, long long n)
{
    const long long p = v * n; // both 32-bit: no overflow
    long long q = p / 1000;
    long long r = p % 1000; // same sign as p
    if (r < 0) {
        r += 1000;
        q -= 1;
    }
    if (r > 500 || (r == 500 && (q & 1)))
        ++q;
    return q;
}

} // namespace

int AlleIntensiteitenWijzigen(QStringList& intensities, ChangeAllMode mode, int n)
{
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
        const long long nv = mode == ChangeAllMode::Increase ? v + n : multiplyPerMille(v, n);
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
