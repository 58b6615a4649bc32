// PNG and JPEG pictures, decoded by their content as the clipboard and the
// bitmaps inside metafiles are.
#include <QBuffer>
#include <QImageReader>

#include "fuzz/fuzzsupport.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* format : {"PNG", "JPG"}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        reader.setAllocationLimit(64); // megabytes: what a picture in a diagram may take
        (void)reader.read();
    }
    return 0;
}
