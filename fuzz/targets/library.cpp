// A template library: the list of templates, and the first templates opened
// as the new-diagram dialog opens them (each into a new document).
#include "document/libraryfiles.h"
#include "document/textfile.h"
#include "fuzz/fuzzsupport.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString lib = fuzz::writeScratch(QStringLiteral("fuzz.lib"), data, size);
    QStringList codes;
    {
        fuzz::Program p;
        p.ctx.paths.libraryFile = lib;
        (void)p.library.LibListBoxVullen();
        QStringList lines;
        if (textfile::readLines(lib, &lines))
            codes = libfiles::templateCodes(lines);
    }
    for (qsizetype i = 0; i < codes.size() && i < 4; ++i) {
        fuzz::Program p;
        p.ctx.paths.libraryFile = lib;
        (void)p.library.previewPicturePath(codes[i]);
        p.library.OpenBestandUitLib(codes[i], p.files, i % 2 == 1);
        (void)textfile::encodeLines(diagramFileLines(p.doc));
    }
    return 0;
}
