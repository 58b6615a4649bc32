#include "document/intensityreplace.h"

#include "document/integertext.h"

namespace korvimo {

int IntensiteitVervangen(QStringList& intensities, const QString& name, const QString& value)
{
    const QString line = name + QLatin1Char('=') + QString::number(toIntegerOr(value, 0))
                         + QStringLiteral(";I;");
    int replaced = 0;
    for (QString& l : intensities) {
        if (l.size() >= 4 && QStringView(l).first(4) == name) {
            l = line;
            ++replaced;
        }
    }
    return replaced;
}

int highestVolume(const QStringList& intensities)
{
    int highest = -1;
    for (const QString& l : intensities) {
        if (l.startsWith(QLatin1Char('*')) || l.startsWith(QLatin1Char('#')))
            continue;
        if (!l.contains(QLatin1Char('I')))
            continue;
        const qsizetype from = l.indexOf(QLatin1Char('=')) + 1;
        qsizetype to = l.indexOf(QLatin1Char(';'), from);
        if (to < 0)
            to = l.size();
        const int v = toInteger(QStringView(l).sliced(from, to - from));
        if (v > highest)
            highest = v;
    }
    return highest;
}

int sfactorForHighestVolume(int h)
{
    if (h <= 0)
        return 1000;
    // Exact integer rounding of 5000 / h, halves to even.
    int q = 5000 / h;
    const int r = 5000 % h;
    if (2 * r > h || (2 * r == h && (q % 2) == 1))
        ++q;
    if (q < 1)
        q = 1;
    return q * 100;
}

} // namespace korvimo
