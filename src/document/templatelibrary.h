#pragma once
// The template library as the readers of other files see it. The version-2
// reader and the import readers start from a template and then put in their
// own values; they reach the library only through this interface, so the
// readers work (with no templates) before and without a library.
#include <QString>

namespace korvimo {

class DiagramFile;
struct GeneralVariables;

class TemplateLibrary {
public:
    virtual ~TemplateLibrary() = default;

    // OpenBestandUitLib: opens the template with that code as the document
    // of files, through files.StromenBestandOpenen on a temporary file whose
    // name begins with "$1_" (so the document keeps the untitled name).
    // False when the template could not be opened (the implementation has
    // told the user why, where there is something to tell). A malformed
    // template may raise ConversionError out of the nested open procedure:
    // let it pass, and free temporary files on that path too.
    virtual bool openTemplate(const QString& code, DiagramFile& files) = 0;

    // Whether a template with that code is there to open. A library that
    // cannot tell answers true, so that it is simply tried.
    virtual bool hasTemplate(const QString& /*code*/) const { return true; }

    // TekstenDiagramVertalen: replaces template placeholders in the titles
    // and the print header by their language texts. Called by the open
    // procedure after every reader.
    virtual void translateTitles(GeneralVariables&) {}
};

} // namespace korvimo
