#include "ui/mainwindow/commandline.h"

#include <QFileInfo>

namespace korvimo {

QString commandLineFileName(const QString& commandLine, const QString& programFileName)
{
    QString line = commandLine;
    line.remove(QLatin1Char('"'));
    if (programFileName.isEmpty())
        return QString();
    const qsizetype at = line.indexOf(programFileName, 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    return line.mid(at + programFileName.size() + 1).trimmed();
}

QString commandLineFileName(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return QString();
    // The program's own path is taken from the system, not searched for in
    // the joined line: a file path that holds the program's name (a folder
    // called "korvimo") would otherwise be cut at the wrong place.
    QString rest = arguments.mid(1).join(QLatin1Char(' '));
    rest.remove(QLatin1Char('"'));
    return rest.trimmed();
}

} // namespace korvimo
