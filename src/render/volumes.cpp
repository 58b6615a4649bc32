#include "render/volumes.h"

#include <algorithm>

#include "render/conversionerror.h"
#include "render/rounding.h"

namespace korvimo {

namespace {

// The number between the first "=" and the next ";", and the kind letter
// right after that ";" (a null character when there is none).
int valueOf(const QString& line, QChar* kind)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QStringView rest = QStringView(line).mid(eq + 1);
    const qsizetype semi = rest.indexOf(QLatin1Char(';'));
    const int v = toInteger(semi < 0 ? rest : rest.left(semi));
    if (kind)
        *kind = semi >= 0 && semi + 1 < rest.size() ? rest[semi + 1] : QChar();
    return v;
}

} // namespace

long double VolumeTable::lookUp(ValueMode mode, QStringView name) const
{
    if (name.isEmpty())
        return 0;
    for (const QString& line : m_lines) {
        if (QStringView(line).left(4) != name)
            continue;
        QChar kind;
        const int v = valueOf(line, &kind);
        long double result = v;
        if (mode == ValueMode::Thickness && kind == QLatin1Char('I')) {
            if (v < m_intmin)
                result = 0;
            if (result == 0 && m_intmin == 0)
                result = 1; // a zero volume still gets the thinnest band
            result = static_cast<long double>(m_sfactor) * result / 4000;
        }
        return result;
    }
    return 0;
}

long double VolumeTable::evaluate(ValueMode mode, QStringView expression) const
{
    QStringView rest = expression.mid(1);
    long double result = lookUp(mode, rest.left(4));
    rest = rest.mid(4);
    while (!rest.isEmpty()) {
        const QChar op = rest[0];
        if (op != QLatin1Char('+') && op != QLatin1Char('-'))
            break;
        rest = rest.mid(1);
        const long double v = lookUp(mode, rest.left(4));
        result = op == QLatin1Char('+') ? result + v : result - v;
        rest = rest.mid(4);
    }
    return result;
}

int highestVolume(const QStringList& lines)
{
    int highest = -1;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (!line.contains(QLatin1Char('I')))
            continue;
        const int v = valueOf(line, nullptr);
        if (v > highest)
            highest = v;
    }
    return highest;
}

int sfactorForHighestVolume(int highest)
{
    if (highest <= 0)
        return 1000;
    // Above 10000 vehicles the rounding reaches 0 and no band would be drawn
    // at all, so the scale never goes below 100.
    return 100 * std::max<long long>(1, roundToEven(5000.0L / highest));
}

void applyShowDirections(QStringList& lines)
{
    for (QString& line : lines) {
        const qsizetype semi = line.indexOf(QLatin1Char(';'));
        if (semi < 0 || semi + 1 >= line.size() || line[semi + 1] != QLatin1Char('I'))
            continue;
        const QString name = line.left(4);
        line = name + QLatin1Char('=') + name + QStringLiteral(";I;");
    }
}

QString volumeLabel(long double raw, int intminnumber)
{
    // A threshold of 0 means "show every label", negative sums included.
    if (intminnumber != 0 && raw < intminnumber)
        return QString();
    return QString::number(roundToEven64(raw));
}

} // namespace korvimo
