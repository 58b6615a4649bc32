#pragma once
// Saving a Metafile as a Windows enhanced metafile (.emf) or a Windows
// metafile with the placeable header (.wmf), and reading such files back
// into our own records (so a picture element can stretch-draw them).
//
// Contract, writers
// - One metafile unit is one pixel of the 96-DPI reference device: an EMF
//   says so in its header (MM_TEXT, frame in 0.01 mm); a WMF's placeable
//   header says 96 units to the inch (fewer when the drawing is larger than
//   16-bit coordinates allow; then every coordinate is divided by the same
//   whole factor and the picture keeps its size).
// - Text records carry per-character advances from TextMetrics, so every
//   viewer lays text out as we measured it. WMF text is Windows-1252 ("?"
//   for characters outside it). Béziers become polylines in a WMF, as GDI
//   records them; pictures inside the drawing are written as their records.
// - Writing goes to a temporary file in the target's folder that is renamed
//   over the target only when complete: on failure the old file is
//   untouched, no partial file remains, the result is false and *error says
//   why.
//
// Contract, readers
// - Every record type the writers write is read back; a file written from a
//   flat drawing (no embedded pictures) reads back as the same records.
//   Other files are read as far as they map onto our records (mapping modes,
//   window and viewport origins and extents, text alignment are applied);
//   unknown records are skipped.
// - Readers never read outside the given bytes. A file that is not a
//   metafile, or whose header is broken, gives std::nullopt and a message;
//   a broken record ends the reading there and keeps what came before.
#include <QByteArray>
#include <QString>

#include <optional>

#include "canvas/metafile.h"

namespace korvimo {

bool writeEmf(const Metafile& metafile, const QString& path, QString* error = nullptr);
bool writeWmf(const Metafile& metafile, const QString& path, QString* error = nullptr);
// A WMF holds 16-bit coordinates: those beyond them (after the writer's
// divisor) are written at the nearest edge, never wrapped. This counts them,
// for the caller to report.
qsizetype wmfClampedCoordinates(const Metafile& metafile);
// By the metafile's kind.
bool writeMetafile(const Metafile& metafile, const QString& path, QString* error = nullptr);
// The bytes such a file would hold (for the clipboard); empty on failure.
QByteArray emfBytes(const Metafile& metafile, QString* error = nullptr);
QByteArray wmfBytes(const Metafile& metafile, QString* error = nullptr);

std::optional<Metafile> readEmf(const QByteArray& bytes, QString* error = nullptr);
std::optional<Metafile> readWmf(const QByteArray& bytes, QString* error = nullptr);
// Either kind, told apart by the file's first bytes, not its name.
std::optional<Metafile> readMetafile(const QByteArray& bytes, QString* error = nullptr);
std::optional<Metafile> readMetafileFile(const QString& path, QString* error = nullptr);

// The drawing with every embedded metafile replaced by its own records,
// mapped into the box it was drawn in; the state around it is restored
// afterwards, so the result draws the same.
Metafile inlinePictures(const Metafile& metafile);

} // namespace korvimo
