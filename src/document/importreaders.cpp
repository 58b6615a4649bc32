// The readers of the other file types, by extension, that the open
// procedure dispatches to. Each import reader registers itself here.
#include "document/csvfile.h"
#include "document/diagramfile.h"
#include "document/kvoimp.h"
#include "document/odfile.h"

namespace korvimo {

QHash<QString, DiagramFile::ImportReader> standardImportReaders()
{
    QHash<QString, DiagramFile::ImportReader> readers;
    readers.insert(QStringLiteral(".in"), [](const QString& name, DiagramFile& files) { ODBestandOpenen(name, files); });
    readers.insert(QStringLiteral(".csv"), CSVBestandOpenen);
    readers.insert(QStringLiteral(".kvoimp"), KvoimpBestandOpenen);
    return readers;
}

} // namespace korvimo
