#include "output/exportnames.h"

#include <QDir>
#include <QFileInfo>

#include "core/programcontext.h"

namespace korvimo {

QString extensionOf(const QString& name)
{
    const QString base = QFileInfo(name).fileName();
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : base.mid(dot);
}

bool isPixelExportType(int exportType)
{
    return exportType == ExportBmp || exportType == ExportJpg || exportType == ExportPng;
}

QString exportExtension(int exportType)
{
    switch (exportType) {
    case ExportEmf:
        return QStringLiteral(".emf");
    case ExportWmf:
        return QStringLiteral(".wmf");
    case ExportBmp:
        return QStringLiteral(".bmp");
    case ExportJpg:
        return QStringLiteral(".jpg");
    case ExportPng:
        return QStringLiteral(".png");
    case ExportSvg:
        return QStringLiteral(".svg");
    case ExportPdf:
        return QStringLiteral(".pdf");
    default:
        return {};
    }
}

QString proposedExportFileName(const QString& documentFileName, int exportType)
{
    const QString base = QFileInfo(documentFileName).fileName();
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? base : base.left(dot)) + exportExtension(exportType);
}

QString withExportExtension(const QString& chosenName, int exportType)
{
    const QString ext = exportExtension(exportType);
    if (extensionOf(chosenName) == ext)
        return chosenName;
    return chosenName + ext;
}

bool confirmOverwrite(const QString& fileName, const ProgramContext& ctx)
{
    if (!QFileInfo::exists(fileName))
        return true;
    const LanguageTexts& t = ctx.texts;
    const int answer = ctx.messages().question(
        t.text(QStringLiteral("AA00195")),
        t.format(QStringLiteral("AA00006"), {QDir::toNativeSeparators(fileName)}),
        t.text(QStringLiteral("ZB00016")), t.text(QStringLiteral("ZB00017")),
        t.text(QStringLiteral("ZB00013")), Messenger::No);
    return answer == Messenger::Yes;
}

} // namespace korvimo
