#include "output/exportfile.h"

#include <QDir>
#include <QFileInfo>

#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "output/pixelexport.h"
#include "render/maakmeta.h"

namespace korvimo {

namespace {

bool report(const ProgramContext& ctx, const QString& error)
{
    ctx.messages().error(error);
    return false;
}

} // namespace

bool exportToFile(const DiagramDocument& document, const ProgramContext& ctx, int exportType,
                  int width, bool antiAliased, const QString& fileName)
{
    if (exportType == ExportEmf || exportType == ExportWmf) {
        const bool wmf = exportType == ExportWmf;
        Metafile drawing;
        MaakMeta(document, ctx, drawing, wmf ? QStringLiteral("WMF") : QStringLiteral("EMF"),
                 QStringLiteral("E"));
        QString error;
        const bool ok = wmf ? writeWmf(drawing, fileName, &error) : writeEmf(drawing, fileName, &error);
        if (ok && wmf)
            reportWmfClamping(drawing, ctx);
        return ok || report(ctx, error);
    }
    switch (exportType) {
    case ExportBmp:
        return ExportAsPixelFile(document, ctx, QStringLiteral("BMP"), antiAliased, width, fileName);
    case ExportJpg:
        return ExportAsPixelFile(document, ctx, QStringLiteral("JPG"), antiAliased, width, fileName);
    case ExportPng:
        return ExportAsPixelFile(document, ctx, QStringLiteral("PNG"), antiAliased, width, fileName);
    case ExportSvg:
        return exportVectorCopy(document, ctx, VectorCopyType::Svg, fileName);
    case ExportPdf:
        return exportVectorCopy(document, ctx, VectorCopyType::Pdf, fileName);
    default:
        return report(ctx, QStringLiteral("Unknown export type %1.").arg(exportType));
    }
}

void reportWmfClamping(const Metafile& drawing, const ProgramContext& ctx)
{
    if (const qsizetype n = wmfClampedCoordinates(drawing))
        ctx.messages().warning(ctx.texts.format(QStringLiteral("AA00216"), {QString::number(n)}));
}

bool exportChosenFile(const DiagramDocument& document, const ProgramContext& ctx, int exportType,
                      int width, bool antiAliased, const QString& chosenName)
{
    const QString fileName = withExportExtension(chosenName, exportType);
    if (!confirmOverwrite(fileName, ctx))
        return false;
    return exportToFile(document, ctx, exportType, width, antiAliased, fileName);
}

bool exportVectorCopy(const DiagramDocument& document, const ProgramContext& ctx, VectorCopyType type,
                      const QString& fileName)
{
    Metafile drawing;
    MaakMeta(document, ctx, drawing, QStringLiteral("EMF"), QStringLiteral("E"));
    QString error;
    const bool ok = type == VectorCopyType::Svg ? writeSvg(drawing, fileName, &error)
                                                : writePdf(drawing, fileName, &error);
    return ok || report(ctx, error);
}

bool exportByExtension(const DiagramDocument& document, const ProgramContext& ctx,
                       const QString& fileName, int width, bool antiAliased)
{
    const QString ext = extensionOf(fileName).toLower();
    if (ext == QLatin1String(".svg"))
        return exportVectorCopy(document, ctx, VectorCopyType::Svg, fileName);
    if (ext == QLatin1String(".pdf"))
        return exportVectorCopy(document, ctx, VectorCopyType::Pdf, fileName);
    int type = 0;
    if (ext == QLatin1String(".emf"))
        type = ExportEmf;
    else if (ext == QLatin1String(".wmf"))
        type = ExportWmf;
    else if (ext == QLatin1String(".bmp"))
        type = ExportBmp;
    else if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg"))
        type = ExportJpg;
    else if (ext == QLatin1String(".png"))
        type = ExportPng;
    else
        return report(ctx, QStringLiteral("Cannot export to \"%1\": the extension must be .emf, .wmf, "
                                          ".bmp, .jpg, .png, .svg or .pdf.")
                               .arg(QDir::toNativeSeparators(fileName)));
    return exportToFile(document, ctx, type, width, antiAliased, fileName);
}

} // namespace korvimo
