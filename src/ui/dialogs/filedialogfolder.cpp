#include "ui/dialogs/filedialogfolder.h"

#include <QDir>
#include <QFileInfo>

namespace korvimo {

QString documentFolder(const QString& documentFileName, const QString& tempFolder)
{
    const QFileInfo file(documentFileName);
    if (documentFileName.isEmpty() || file.isRelative() || file.fileName().startsWith(QLatin1String("$1_")))
        return {};
    const QString folder = file.absolutePath();
    if (!tempFolder.isEmpty() && QDir(folder) == QDir(tempFolder))
        return {};
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString dialogStartPath(const QStringList& folders, const QString& name)
{
    QString start = QDir::homePath();
    for (const QString& f : folders) {
        if (!f.isEmpty() && QFileInfo(f).isDir()) {
            start = f;
            break;
        }
    }
    return name.isEmpty() ? start : QDir(start).filePath(name);
}

} // namespace korvimo
