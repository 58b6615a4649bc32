// A BMP picture as an IMG element loads it, and the device-independent
// bitmaps that metafiles carry (PNG and JPEG data included) as the metafile
// readers decode them.
#include <QBuffer>
#include <QImageReader>

#include "canvas/metafilesupport.h"
#include "fuzz/fuzzsupport.h"
#include "render/furniture.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    try {
        (void)loadPicture(QStringLiteral("BMP"), fuzz::writeScratch(QStringLiteral("picture.bmp"), data, size));
    } catch (const PictureError&) {
        // the renderer reports these; they are no fault
    }
    // The first 40 bytes as a bitmap header, the rest as its pixels.
    if (size >= 40)
        (void)metafile_detail::dibToImage(reinterpret_cast<const char*>(data), 40, reinterpret_cast<const char*>(data) + 40,
                         size - 40);
    return 0;
}
