#include "cli/clicommands.h"

namespace korvimo::cli {

int renderCommand(const QStringList&, ProgramContext&)
{
    return usageError(QStringLiteral("the render command is not available yet"));
}

} // namespace korvimo::cli
