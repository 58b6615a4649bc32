#pragma once
// Telling, before anything of the open document is touched, whether a file
// can become a diagram at all. The readers themselves are lenient: they take
// what they understand and leave the rest, so a picture renamed ".kvo" or a
// CSV file without intersection data would otherwise open as an empty
// diagram named after the file - and the next save would write over it.
//
// What counts as a diagram, by the open procedure's choice of reader:
//   .in      a number of arms "2" ... "8" in position 6 of line 2, the
//            template for it in the library, and at least one volume
//   .csv     the same, of the OD lines the CSV file converts to
//   .kvoimp  a BaseDiagramFromLibrary that the library holds
//   other    a version mark ("100" or "210") on line 1, or at least one of
//            the five section headers of the diagram file
// An empty file (no line with anything but blanks) is never a diagram.
#include <QString>
#include <QStringList>

namespace korvimo {

struct ProgramContext;
class TemplateLibrary;

// Why the file cannot be opened as a diagram, as the sentence that
// completes AA00197 in the current language; empty when it can, and also
// when the file cannot be read (the open procedure reports that itself).
// library may be null: no template is then found.
QString notADiagramReason(const QString& name, const ProgramContext& ctx, TemplateLibrary* library);

// The same for the lines of an OD file.
QString odLinesProblem(const QStringList& odLines, const ProgramContext& ctx, TemplateLibrary* library);

} // namespace korvimo
