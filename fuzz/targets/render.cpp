// A diagram (its script, coordinates and volumes) drawn as export draws it:
// recorded, written as EMF and WMF, and exported as a small PNG. The first
// byte switches the view overlays, the rest is the diagram file.
#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "fuzz/fuzzsupport.h"
#include "output/pixelexport.h"
#include "render/maakmeta.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    fuzz::Program p;
    p.ctx.view.showCoordinates = data[0] & 1;
    p.ctx.view.showDirections = data[0] & 2;
    p.ctx.view.showIntersections = data[0] & 4;
    p.files.StromenBestandOpenen(fuzz::writeScratch(QStringLiteral("render.kvo"), data + 1, size - 1));
    Metafile emf;
    MaakMeta(p.doc, p.ctx, emf, QStringLiteral("EMF"), QStringLiteral("E"));
    (void)emfBytes(emf);
    Metafile wmf;
    MaakMeta(p.doc, p.ctx, wmf, QStringLiteral("WMF"), QStringLiteral("E"));
    (void)wmfBytes(wmf);
    ExportAsPixelFile(p.doc, p.ctx, QStringLiteral("PNG"), data[0] & 8, 64,
                      fuzz::scratchFolder() + QStringLiteral("render.png"));
    return 0;
}
