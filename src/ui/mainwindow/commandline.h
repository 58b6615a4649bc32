#pragma once
// The file named on the command line. Everything after the program's own
// name is one file name, blanks included, with every double quote removed.
#include <QString>
#include <QStringList>

namespace korvimo {

// From a whole command line as one text: quotes removed, the program file's
// name found (case-insensitively), everything up to and including the
// character after it removed, then trimmed. Empty when no file is named or
// the program name does not occur.
QString commandLineFileName(const QString& commandLine, const QString& programFileName);

// From the argument vector the system hands over (arguments[0] is the
// program): the same rule applied to the arguments joined by blanks.
QString commandLineFileName(const QStringList& arguments);

} // namespace korvimo
