#include "output/pixelexport.h"

#include "canvas/metafile.h"
#include "render/maakmeta.h"

namespace korvimo {

bool ExportAsPixelFile(const DiagramDocument& document, const ProgramContext& ctx,
                       const QString& typeText, bool antiAliased, int width,
                       const QString& fileName)
{
    Metafile drawing;
    MaakMeta(document, ctx, drawing, QStringLiteral("EMF"), QStringLiteral("E"));
    return exportDrawingAsPixelFile(drawing, ctx, typeText, antiAliased, width, fileName);
}

} // namespace korvimo
