#pragma once
// The writing of every export format, and the export dialog's command once
// the save dialog has given a name. The command-line tool uses
// exportByExtension.
//
// Contract:
// - Questions and failures go through ctx's Messenger; every function that
//   writes returns true only when the file was written whole.
// - Nothing is written when the overwrite question is not answered with its
//   first button, or when the drawing cannot be made into the format.
#include <QString>

#include "output/exportnames.h"

namespace korvimo {

class DiagramDocument;
class Metafile;
struct ProgramContext;

// Writes the diagram in the format: EMF and WMF render with that output type
// and destination "E" and save the drawing as it was recorded; the pixel
// formats go through ExportAsPixelFile with width and antiAliased; SVG and
// PDF are exportVectorCopy.
bool exportToFile(const DiagramDocument& document, const ProgramContext& ctx, int exportType,
                  int width, bool antiAliased, const QString& fileName);

// The dialog's export once the save dialog has given a name: the extension
// rule, the overwrite question, the writing. Returns true when written.
bool exportChosenFile(const DiagramDocument& document, const ProgramContext& ctx, int exportType,
                      int width, bool antiAliased, const QString& chosenName);

// After a WMF was written: one warning (AA00216) when coordinates of the
// drawing lay beyond what the file can hold and were put at its edge.
void reportWmfClamping(const Metafile& drawing, const ProgramContext& ctx);

// Vector copies for other programs: SVG or PDF of the drawing at its own
// size (one metafile unit is one 96-DPI pixel).
enum class VectorCopyType { Svg, Pdf };
bool exportVectorCopy(const DiagramDocument& document, const ProgramContext& ctx, VectorCopyType type,
                      const QString& fileName);

// By the file's extension (any case): .emf .wmf .bmp .jpg/.jpeg .png .svg
// .pdf. No question is asked: the caller named the file. An unknown
// extension is reported and writes nothing.
bool exportByExtension(const DiagramDocument& document, const ProgramContext& ctx,
                       const QString& fileName, int width, bool antiAliased);

} // namespace korvimo
