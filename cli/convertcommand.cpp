#include "cli/clicommands.h"

namespace korvimo::cli {

int convertCommand(const QStringList&, ProgramContext&)
{
    return usageError(QStringLiteral("the convert command is not available yet"));
}

} // namespace korvimo::cli
