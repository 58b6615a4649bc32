#pragma once
// The diagram file (".kvo", current version 300, and the older version-2
// file) and the open procedure that every file of the program passes
// through.
//
// Layout of a current file: five sections, each opened by a header line
// "[**General variables**]", "[**Script**]", "[**Coordinates**]",
// "[**Intensities**]", "[**Notes**]". The reader searches every section from
// the start of the file, so their order does not matter, except that the
// notes run to the end of the file. General variables are key=value lines
// (keys in any case and order, the last of a repeated key wins, unknown keys
// ignored); list lines are taken verbatim with empty lines dropped; notes
// lines verbatim, empty ones kept.
//
// A malformed integer stops the reading with ConversionError; what was read
// before it stays in the document.
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

#include "document/diagramdocument.h"
#include "document/documenthooks.h"

namespace korvimo {

struct ProgramContext;
class TemplateLibrary;

// The document as the lines of a current diagram file, in the order the
// writer writes them.
QStringList diagramFileLines(const DiagramDocument& doc);

// Reads the lines of a current diagram file into doc: general variables are
// applied over what doc holds, list and notes lines are appended. fileVersion
// receives the "fileversion" value when the file has one (else stays as it
// was). Throws ConversionError at a malformed integer.
void readDiagramLines(const QStringList& lines, DiagramDocument& doc, int* fileVersion = nullptr);

// The library template a version-2 diagram type opens; empty when the type
// is none of the known names (compared exactly, case included).
QString versie2TemplateCode(const QString& diagramType);

// What became of one run of the open procedure.
enum class OpenResult {
    Read,        // read (perhaps after the newer-version warning)
    CannotOpen,  // the file could not be opened for reading
    Version1,    // a version-1 file: nothing read
    NoReader,    // an import type whose reader is not there
    Malformed,   // the reading stopped at a malformed number
    NotADiagram, // nothing in the file makes a diagram: refused, nothing changed
    DataLeftOut, // read, but the template had no place for some volumes
};

class DiagramFile {
public:
    // Reads an import file (".in", ".csv", ".kvoimp") into file.document().
    // The document is new and empty when it is called; the open procedure
    // runs its closing steps afterwards. May throw ConversionError.
    using ImportReader = std::function<void(const QString& fileName, DiagramFile& file)>;

    DiagramFile(ProgramContext& ctx, DiagramDocument& doc);

    ProgramContext& context() const { return m_ctx; }
    DiagramDocument& document() const { return m_doc; }

    DocumentHooks hooks;

    // The library that the version-2 reader and the imports open templates
    // from; none (the default) means no template is ever found.
    void setTemplateLibrary(TemplateLibrary* library) { m_library = library; }
    TemplateLibrary* templateLibrary() const { return m_library; }

    // The reader for an extension in lower case with its dot (".in").
    void setImportReader(const QString& extension, ImportReader reader);

    // The open procedure: reads the file name into the document (appending
    // to its lists; callers make a new document first), then updates titles,
    // file name, caption, modified flag and views through the hooks and the
    // library. Messages go to the context's messenger. A malformed number is
    // reported here with the conversion error's text and the closing steps
    // are skipped - except when this call is nested inside another reading
    // (the library and the import requests call back in): then the
    // ConversionError passes on to the outer call, which stops as a whole.
    // A file that cannot become a diagram (diagramprobe.h) is refused before
    // anything is read: the error AA00197 names it and why, and the document,
    // its file name and its flag stay exactly as they were.
    // A file nested deeper than kMaxOpenNesting (a template that opens a
    // template that opens ...) is not read: AA00215, CannotOpen.
    static constexpr int kMaxOpenNesting = 6;
    OpenResult StromenBestandOpenen(const QString& name);

    // The refusal of StromenBestandOpenen on its own: reports AA00197 and
    // returns true when name cannot become a diagram. For commands that must
    // know before they let go of the open document.
    bool refuseNonDiagram(const QString& name);

    // For the import readers: names the volumes of source that the template
    // could not place (leftoutdata.h) in one warning, and makes the open
    // procedure answer DataLeftOut. Nothing happens for an empty list.
    void reportLeftOut(const QString& source, const QStringList& items);

    // Reads a current diagram file. Throws ConversionError.
    void Versie3BestandOpenen(const QString& name);
    // Reads a version-2 file (through the template library). Throws
    // ConversionError.
    void Versie2BestandOpenen(const QString& name);

    // Writes the document as a current diagram file. True when written; the
    // modified flag is then cleared. On failure the error AA00001 is shown,
    // the old file is left as it was and the document is unchanged.
    bool StromenBestandOpslaan(const QString& name);

    // Every general variable to its default (from the program settings) and
    // the document's view state reset; lists, notes, file name and flag stay.
    void BasisInstellingenDatabestand();

    // Sets the caption from the document's file name.
    void ProgrammaCaptionUpdaten();

    // The program name + "_Nieuw"/"_New" + ".kvo", from the language texts.
    QString untitledName() const;

private:
    OpenResult readByType(const QString& name);

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    TemplateLibrary* m_library = nullptr;
    QHash<QString, ImportReader> m_importReaders;
    int m_depth = 0; // nesting of StromenBestandOpenen
    bool m_dataLeftOut = false;
};

// The import readers that every DiagramFile starts with, by extension.
QHash<QString, DiagramFile::ImportReader> standardImportReaders();

} // namespace korvimo
