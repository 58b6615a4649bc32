// An origin-destination file.
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvimo::fuzz::openAndSave(QStringLiteral("input.in"), data, size);
    return 0;
}
