// An EMF or WMF picture as an IMG element reads it, then played the ways a
// drawing holding it is played: inlined, on a small bitmap, and written
// again as both kinds of metafile.
#include <QByteArray>

#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "fuzz/fuzzsupport.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::optional<Metafile> picture = readMetafile(bytes);
    if (!picture)
        return 0;
    const Metafile flat = inlinePictures(*picture);
    (void)flat.dump();
    (void)renderToImage(*picture, QSize(48, 32), false, 0xFFFFFF);
    (void)emfBytes(*picture);
    (void)wmfBytes(*picture);
    return 0;
}
