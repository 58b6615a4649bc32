#include "ui/views/volumegrid.h"

namespace korvimo {

QList<GridRow> volumeGridRows(const QStringList& intensities)
{
    QList<GridRow> rows;
    for (const QString& line : intensities) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const int semi = line.indexOf(QLatin1Char(';'), eq + 1);
        if (semi < 0 || semi + 1 >= line.size() || line[semi + 1] != QLatin1Char('I'))
            continue;
        rows.append({line.left(4), line.mid(eq + 1, semi - eq - 1)});
    }
    return rows;
}

int gridVolume(const QString& text)
{
    QString digits = text;
    digits.remove(QLatin1Char(' '));
    bool ok = false;
    const int v = digits.toInt(&ok);
    return ok ? v : 0;
}

void writeBackVolumeGrid(const QList<GridRow>& rows, QStringList* intensities)
{
    for (const GridRow& row : rows) {
        const QString line = row.direction + QLatin1Char('=') + QString::number(gridVolume(row.volume))
                             + QStringLiteral(";I;");
        for (QString& l : *intensities) {
            if (l.left(4) == row.direction)
                l = line;
        }
    }
}

bool scaleFromText(const QString& text, int* scale)
{
    if (text == QLatin1String("0"))
        return false;
    bool ok = false;
    const int v = text.toInt(&ok);
    *scale = ok ? v : 100;
    return true;
}

int scaleStep(int scale)
{
    if (scale <= 10)
        return 1;
    if (scale <= 50)
        return 5;
    return 50;
}

} // namespace korvimo
