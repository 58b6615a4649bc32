#include "server/serverstartup.h"

#include "document/textfile.h"

namespace korvimo {

QString watchFolderWithSlash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

void applyServerStartupLines(const QStringList& lines, ServerStartup& settings)
{
    for (const QString& line : lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (key.compare(QLatin1String("WatchDir"), Qt::CaseInsensitive) == 0)
            settings.WatchDir = watchFolderWithSlash(value);
        else if (key.compare(QLatin1String("ServerLogFileName"), Qt::CaseInsensitive) == 0)
            settings.ServerLogFileName = value;
        else if (key.compare(QLatin1String("DeleteOldDiagrams"), Qt::CaseInsensitive) == 0)
            settings.DeleteOldDiagrams = value == QLatin1String("1");
        else if (key.compare(QLatin1String("ClaimTimeout"), Qt::CaseInsensitive) == 0) {
            bool ok = false;
            const int seconds = value.trimmed().toInt(&ok);
            if (ok && seconds > 0)
                settings.ClaimTimeout = seconds;
        }
    }
}

bool readServerStartup(const QString& path, ServerStartup& settings)
{
    QStringList lines;
    if (!textfile::readLines(path, &lines))
        return false;
    applyServerStartupLines(lines, settings);
    return true;
}

void applyOverrides(const ServerStartupOverrides& overrides, ServerStartup& settings)
{
    if (overrides.WatchDir)
        settings.WatchDir = watchFolderWithSlash(*overrides.WatchDir);
    if (overrides.ServerLogFileName)
        settings.ServerLogFileName = *overrides.ServerLogFileName;
    if (overrides.DeleteOldDiagrams)
        settings.DeleteOldDiagrams = *overrides.DeleteOldDiagrams;
    if (overrides.ClaimTimeout)
        settings.ClaimTimeout = *overrides.ClaimTimeout;
}

} // namespace korvimo
