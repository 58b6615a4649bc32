#pragma once
// Reading and writing the program's own small text files (settings,
// language files). They are single-byte Windows-1252 text with CR LF line
// ends; a file that starts with a byte-order mark is Unicode instead. Texts
// that do not fit Windows-1252 are written as UTF-8 with a byte-order mark,
// so nothing the user typed is ever lost.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvimo {

// Bytes to text: UTF-8, UTF-16LE or UTF-16BE when the matching byte-order
// mark is there (the mark is dropped), Windows-1252 otherwise. Every byte
// sequence decodes; undefined Windows-1252 bytes map to the C1 control of the
// same value, as the platform's converter does, so they survive a round trip.
QString decodeAnsiOrBom(const QByteArray& bytes);

// Text to bytes: Windows-1252 when every character fits, else UTF-8 with a
// byte-order mark.
QByteArray encodeAnsiOrUtf8(const QString& text);
bool fitsWindows1252(const QString& text);

// Lines ended by CR LF, LF or a lone CR. A last line without an end is a
// line; a file that ends with a line end has no empty line after it.
QStringList splitTextLines(const QString& text);

// Reads a whole text file. False (and lines untouched) when it cannot be
// opened; an empty file gives no lines.
bool readTextLines(const QString& path, QStringList* lines);

// Writes bytes to a temporary file in the target's folder and renames it
// over the target, creating the folder first. On failure the old file is
// left as it was, no temporary file remains, and error (when given) holds
// the reason.
bool writeFileSafely(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace korvimo
