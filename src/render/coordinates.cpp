#include "render/coordinates.h"

#include "render/conversionerror.h"

namespace korvimo {

void coordinateValues(const QString& line, int& x, int& y)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    QStringView rest = QStringView(line).mid(eq + 1);
    qsizetype semi = rest.indexOf(QLatin1Char(';'));
    x = toInteger(semi < 0 ? rest : rest.left(semi));
    rest = semi < 0 ? QStringView() : rest.mid(semi + 1);
    semi = rest.indexOf(QLatin1Char(';'));
    y = toInteger(semi < 0 ? rest : rest.left(semi));
}

bool resolvePoint(const QStringList& coordinates, QStringView name, long double& x, long double& y)
{
    // An empty name would otherwise match an empty line and fail on its
    // missing numbers; an empty field simply means "no point".
    if (name.isEmpty())
        return false;
    for (const QString& line : coordinates) {
        if (lineName(line) != name)
            continue;
        int ix = 0;
        int iy = 0;
        coordinateValues(line, ix, iy);
        x = static_cast<long double>(ix) * 10;
        y = static_cast<long double>(iy) * 10;
        return true;
    }
    return false;
}

QStringList pointNames(const QStringList& coordinates)
{
    QStringList names;
    for (const QString& line : coordinates) {
        if (line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#')))
            continue;
        names.append(line.left(4));
    }
    return names;
}

void removeNonNumericPoints(QStringList& coordinates)
{
    coordinates.removeIf([](const QString& line) {
        return line.isEmpty() || line[0] < QLatin1Char('0') || line[0] > QLatin1Char('9');
    });
}

} // namespace korvimo
