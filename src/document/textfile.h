#pragma once
// Reading and writing the program's text files (diagrams, templates,
// settings, language files, imports) line by line.
//
// Reading: a file is a byte sequence whose encoding is told by its
// byte-order mark (UTF-8, UTF-16 LE/BE; the mark itself is dropped); without
// a mark it is Windows-1252. Every byte decodes to exactly one character, the
// five bytes that Windows-1252 leaves undefined included (they become the C1
// controls of the same value), so any file - even random bytes - decodes and
// encodes back to the same bytes. Lines end at CR LF, LF or a lone CR; a final
// line end does not start another line, so "a\r\n" and "a" are both one line
// and an empty file has no lines.
//
// Writing: every line is followed by CR LF. The lines are written in
// Windows-1252 when every character has a place there, otherwise as UTF-8
// with a byte-order mark, so no text is ever lost. A file is written to a
// temporary file in the same folder, which then replaces the target in one
// rename: a write that fails for any reason (no such folder, no rights,
// full disk) leaves the old file exactly as it was and removes the
// temporary file.
#include <QByteArray>
#include "core/windows1252.h"

#include <QString>
#include <QStringList>

namespace korvimo {

enum class TextEncoding { Windows1252, Utf8, Utf16LE, Utf16BE };

namespace textfile {

// Decodes bytes as described above and splits them into lines.
QStringList decodeLines(const QByteArray& bytes, TextEncoding* encoding = nullptr,
                        qsizetype* firstCutLine = nullptr);

// No line of ours comes near this; a longer one is cut here, so a file of
// one endless line cannot blow up everything that handles the line later.
inline constexpr qsizetype kMaxLineChars = 1024 * 1024;

// Splits already decoded text at CR LF, LF and CR. Lines longer than
// kMaxLineChars keep their first kMaxLineChars characters; *firstCutLine
// (when given) is then the 1-based number of the first such line, else 0.
QStringList splitLines(QStringView text, qsizetype* firstCutLine = nullptr);

// Reads the whole file. False when it cannot be opened or read, is no
// regular file or is larger than kMaxInputFileBytes (core/inputfile.h):
// error then holds the reason and lines are left empty. Never blocks on a
// FIFO or device.
bool readLines(const QString& path, QStringList* lines, QString* error = nullptr,
               TextEncoding* encoding = nullptr);

// True when the file is a regular file that can be opened for reading.
bool isReadable(const QString& path);

// The 1-based number of the first line that readLines would cut, 0 when
// none is too long or the file cannot be read.
qsizetype firstOverlongLine(const QString& path);

// The first line of the file (BOM dropped), empty when the file is empty or
// cannot be read. Reads only as much of the file as it needs.
QString firstLine(const QString& path);

// Each line followed by CR LF, in Windows-1252 when possible, else UTF-8 with
// a byte-order mark; used tells which.
QByteArray encodeLines(const QStringList& lines, TextEncoding* used = nullptr);

// encodeLines, then writeBytes.
bool writeLines(const QString& path, const QStringList& lines, QString* error = nullptr,
                TextEncoding* used = nullptr);

// Replaces the file by bytes through a temporary file in the same folder.
// False with the system's reason in error when anything failed; the old file
// is then untouched.
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Windows-1252 in both directions (core/windows1252.h).
using korvimo::fitsWindows1252;
using korvimo::fromWindows1252;
using korvimo::toWindows1252;

} // namespace textfile
} // namespace korvimo
