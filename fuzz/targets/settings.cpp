// The program settings file, read and written back.
#include "fuzz/fuzzsupport.h"
#include "settings/settingsfile.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    ProgramSettings settings;
    ProgInstellingenOphalen(settings, fuzz::writeScratch(QStringLiteral("Korvimo.ini"), data, size));
    (void)settingsFileBytes(settings);
    return 0;
}
