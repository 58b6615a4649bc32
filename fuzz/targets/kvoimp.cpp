// An import request: its sections, its tables through the table store.
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvimo::fuzz::openAndSave(QStringLiteral("input.kvoimp"), data, size);
    return 0;
}
