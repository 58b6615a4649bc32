// The readers of the other file types, by extension, that the open
// procedure dispatches to. Each import reader registers itself here.
#include "document/diagramfile.h"

namespace korvimo {

QHash<QString, DiagramFile::ImportReader> standardImportReaders()
{
    QHash<QString, DiagramFile::ImportReader> readers;
    return readers;
}

} // namespace korvimo
