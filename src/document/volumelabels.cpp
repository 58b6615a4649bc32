#include "document/volumelabels.h"

#include <QRegularExpression>

namespace korvimo {

void fixVolumeLabels(QStringList& script, const std::function<QString(const QString& expression)>& label,
                     const std::function<bool(const QString& group)>& inGroup)
{
    static const QRegularExpression volumeLabelLine(QStringLiteral("^(TXT;.*;)I;(\\[[^\\]]*\\]);$"));
    QString group;
    for (QString& line : script) {
        if (line.startsWith(QLatin1String("GRP;")))
            group = line.section(QLatin1Char(';'), 2, 2);
        if (inGroup && !inGroup(group))
            continue;
        const QRegularExpressionMatch m = volumeLabelLine.match(line);
        if (m.hasMatch())
            line = m.captured(1) + QStringLiteral("T;[\"") + label(m.captured(2)) + QStringLiteral("\"];");
    }
}

QStringList expressionNames(const QString& expression)
{
    QString inner = expression;
    if (inner.startsWith(QLatin1Char('[')))
        inner.remove(0, 1);
    if (inner.endsWith(QLatin1Char(']')))
        inner.chop(1);
    static const QRegularExpression sign(QStringLiteral("[+-]"));
    return inner.split(sign, Qt::SkipEmptyParts);
}

} // namespace korvimo
