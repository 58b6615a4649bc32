#pragma once
// The sub-commands of korvimo-cli, one file each. Every command returns the
// process exit status: 0 done, 1 the work reported an error, 2 bad arguments.
#include <QStringList>

#include "core/programcontext.h"

namespace korvimo::cli {

int convertCommand(const QStringList& args, ProgramContext& ctx);
int renderCommand(const QStringList& args, ProgramContext& ctx);
int checkCommand(const QStringList& args, ProgramContext& ctx);
int serveCommand(const QStringList& args, ProgramContext& ctx);
int compareCommand(const QStringList& args, ProgramContext& ctx);

// Prints "korvimo-cli: <text>" on stderr and returns 2.
int usageError(const QString& text);
// Reads the value of "--width" at args[i + 1] into width, moving i past it.
// 0 when it is a whole number of at least 1 pixel; otherwise the usage
// error's status, the error already printed.
int takeWidthOption(const QStringList& args, qsizetype& i, int& width);

} // namespace korvimo::cli
