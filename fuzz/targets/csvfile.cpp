// A CSV file, read through its temporary OD file.
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvimo::fuzz::openAndSave(QStringLiteral("input.csv"), data, size);
    return 0;
}
