#pragma once
// The line-level reading of the library file and the names files, shared by
// the library and its tests. Pure functions on lines; no state.
#include <QString>
#include <QStringList>
#include <optional>

namespace korvimo {

struct ProgramContext;

namespace libfiles {

// The lines after the line that equals header, up to the next line that
// begins with "[**" or the end; empty when the header is missing.
QStringList sectionOf(const QStringList& lines, const QString& header);
// sectionOf on a file's lines; empty when the file cannot be read.
QStringList readSection(const QString& path, const QString& header);

// A names-file value without its first and last character, whatever they are.
QString unquoted(const QString& value);

// The name of code among code=name lines: the first line whose key, in lower
// case, equals code; none when no line does.
std::optional<QString> diagramName(const QStringList& nameLines, const QString& code);

// The text between "[###" and "###]" of every header line, in file order,
// empty ones left out.
QStringList templateCodes(const QStringList& libraryLines);

// The lines of the first block whose header text starts with code, without
// the header; empty when there is none or code is empty.
QStringList templateBlock(const QStringList& libraryLines, const QString& code);

// The folder for temporary files, with a trailing "/".
QString tempFolder(const ProgramContext& ctx);

} // namespace libfiles
} // namespace korvimo
