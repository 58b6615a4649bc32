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

} // namespace korvimo
