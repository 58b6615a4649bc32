#pragma once
// Reading a file that someone else gave us. Whatever the name points at - a
// FIFO, a device, a directory, a file of gigabytes - the reading neither
// blocks nor grows without bound: only regular files are read, and only up
// to a size limit. The open never waits for a writer (non-blocking), and
// the checks are made on the opened file, so a name swapped between check
// and read cannot slip past them.
#include <QByteArray>
#include <QString>

namespace korvimo {

// Diagrams, imports, templates, settings and language files are at most a
// few megabytes (the largest diagrams seen hold a million script lines, 50
// MB); a file beyond this is no input of ours. Server mode keeps
// its own, smaller limit for the files dropped into its folder.
inline constexpr qint64 kMaxInputFileBytes = 64 * 1024 * 1024;
// Pictures for IMG elements may be large bitmaps.
inline constexpr qint64 kMaxPictureFileBytes = 256 * 1024 * 1024;

enum class InputProblem {
    None,
    CannotOpen, // missing, no rights, ...: reason holds the system's text
    NotRegular, // a FIFO, device, socket or directory
    TooLarge,   // more than the limit
    ReadFailed, // an error while reading: reason holds the system's text
};

struct InputCheck {
    InputProblem problem = InputProblem::None;
    QString reason; // the system's text for CannotOpen and ReadFailed
    bool ok() const { return problem == InputProblem::None; }
};

// Opens path as above and checks it without reading it.
InputCheck checkInputFile(const QString& path, qint64 maxBytes = kMaxInputFileBytes);

// Reads the whole file into *bytes (left empty on failure). A file that grows
// past the limit while it is read counts as too large.
InputCheck readInputFile(const QString& path, QByteArray* bytes, qint64 maxBytes = kMaxInputFileBytes);

// True when both names lead to the same file on disk, after symbolic links
// and hard links: writing the second would replace the first. A name that
// does not exist yet is never the same as another.
bool isSameFile(const QString& a, const QString& b);

} // namespace korvimo
