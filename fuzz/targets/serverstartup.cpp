// The server's start-up file.
#include "fuzz/fuzzsupport.h"
#include "server/serverstartup.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    ServerStartup startup;
    readServerStartup(fuzz::writeScratch(QStringLiteral("AsServer.StartUp"), data, size), startup);
    (void)watchFolderWithSlash(startup.WatchDir);
    return 0;
}
