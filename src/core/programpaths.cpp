#include "core/programpaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvimo {

namespace {
QString withSlash(QString p)
{
    if (!p.isEmpty() && !p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}
} // namespace

ProgramPaths ProgramPaths::forProgramFolder(const QString& programFolder)
{
    ProgramPaths p;
    p.programFolder = withSlash(QDir::cleanPath(QFileInfo(programFolder).absoluteFilePath()));
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        const QString home = QDir::homePath();
        config = home.isEmpty() ? QString() : home + QStringLiteral("/.config");
    }
    // Without any configuration folder the settings live beside the program.
    p.configFolder = config.isEmpty() ? p.programFolder : withSlash(config);
    const QString name = QString::fromLatin1(kProgramName);
    p.settingsFile = p.configFolder + name + QLatin1Char('/') + name + QStringLiteral(".ini");
    p.libraryFile = p.programFolder + QStringLiteral("Lib/") + name + QStringLiteral(".lib");
    p.serverStartupFile = p.programFolder + QStringLiteral("AsServer.StartUp");
    p.languageFolder = p.programFolder + QStringLiteral("Lng/");
    p.helpFolder = p.programFolder + QStringLiteral("Hlp/");
    p.addOnFolder = p.programFolder + QStringLiteral("AddOn/");
    p.tempFolder = withSlash(QDir::tempPath());
    return p;
}

ProgramPaths ProgramPaths::detect(const QString& executableFolder)
{
    const QDir exe(executableFolder);
    if (exe.exists(QStringLiteral("Lib")))
        return forProgramFolder(exe.absolutePath());
    return forProgramFolder(exe.absoluteFilePath(QStringLiteral("../share/korvimo")));
}

} // namespace korvimo
