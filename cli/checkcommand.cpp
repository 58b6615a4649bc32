#include "cli/clicommands.h"

namespace korvimo::cli {

int checkCommand(const QStringList&, ProgramContext&)
{
    return usageError(QStringLiteral("the check command is not available yet"));
}

} // namespace korvimo::cli
