// IMG: a bitmap or metafile picture, stretched from its top-left point to
// its natural size times the scale (per mille; 1000 = one pixel per diagram
// unit).
#include <QFileInfo>
#include <QImageReader>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "render/furniture.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"

namespace korvimo {

namespace {

LoadedPicture loadBitmap(const QString& fileName)
{
    QImageReader reader(fileName, "bmp");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw PictureError(QStringLiteral("%1: %2").arg(fileName, reader.errorString()));
    LoadedPicture p;
    p.loaded = true;
    p.width = image.width();
    p.height = image.height();
    p.image = std::make_shared<const QImage>(std::move(image));
    return p;
}

// .wmf and .emf files alike: the reader tells them apart by their bytes.
LoadedPicture loadMetafile(const QString& fileName)
{
    QString error;
    std::optional<Metafile> picture = readMetafileFile(fileName, &error);
    if (!picture)
        throw PictureError(QStringLiteral("%1: %2").arg(fileName, error));
    LoadedPicture p;
    p.loaded = true;
    p.width = picture->width();
    p.height = picture->height();
    p.picture = std::make_shared<const Metafile>(std::move(*picture));
    return p;
}

} // namespace

LoadedPicture loadPicture(const QString& type, const QString& fileName)
{
    const bool bitmap = type == QLatin1String("BMP");
    if (!bitmap && type != QLatin1String("WMF"))
        return {};
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return {}; // a missing picture is no error: the diagram just lacks it
    return bitmap ? loadBitmap(fileName) : loadMetafile(fileName);
}

void interpretImg(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    s.pictureType = f.nextField();
    s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
    s.pictureFile = f.nextQuotedText();
    s.pictureScale = f.nextInteger();
}

void drawImg(RenderState& s)
{
    const LoadedPicture p = loadPicture(s.pictureType, s.pictureFile);
    if (!p.loaded)
        return;
    const PointRegisters& r = s.reg;
    const long double scale = static_cast<long double>(s.pictureScale) / 1000;
    const MetaBox box{roundToEven(r.xa[1]), roundToEven(r.ya[1]),
                      roundToEven(p.width * 10 * scale + r.xa[1]), roundToEven(p.height * 10 * scale + r.ya[1])};
    if (p.image)
        s.canvas.stretchDraw(box, *p.image);
    else if (p.picture)
        s.canvas.stretchDraw(box, *p.picture);
}

} // namespace korvimo
