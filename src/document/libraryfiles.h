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

// A temporary file of the program's own in the temporary folder, named
// prefix + six random characters + extension, written whole by create()
// and removed again when the object goes. Unlike a name pattern, name() is
// always a real path - also after a failed create(), when it is the file
// that could not be made, which is what a message about it must name.
class ScratchFile {
public:
    ScratchFile(const ProgramContext& ctx, const QString& prefix, const QString& extension);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Makes a new file (never one that exists) holding bytes. False when it
    // could not be made or written whole; nothing is then left behind.
    bool create(const QByteArray& bytes);
    const QString& name() const { return m_name; }

private:
    QString m_folder, m_prefix, m_extension, m_name;
    bool m_made = false;
};

} // namespace libfiles
} // namespace korvimo
