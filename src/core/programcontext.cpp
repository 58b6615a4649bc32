#include "core/programcontext.h"

namespace korvimo {

QString ProgramContext::creatorText() const
{
    const QString version = QStringLiteral(KORVIMO_VERSION).section(QLatin1Char('.'), 0, 1);
    return QString::fromLatin1(kProgramName) + QLatin1Char(' ') + version
           + QStringLiteral(" https://korvimo.org");
}

} // namespace korvimo
