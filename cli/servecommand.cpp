#include "cli/clicommands.h"

namespace korvimo::cli {

int serveCommand(const QStringList&, ProgramContext&)
{
    return usageError(QStringLiteral("the serve command is not available yet"));
}

} // namespace korvimo::cli
