// A diagram file: the current format or a version-2 file, told apart by the first line.
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvimo::fuzz::openAndSave(QStringLiteral("input.kvo"), data, size);
    return 0;
}
