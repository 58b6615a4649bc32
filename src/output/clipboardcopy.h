#pragma once
// What the Diagram-copy command puts on the clipboard, made without a
// window: the drawing as a vector picture at an enlargement, or as a pixel
// picture of a set width, by the program setting CopyType.
//
// Contract:
// - "EMF": image/x-emf (the enhanced metafile's bytes) plus image/png (the
//   same picture rasterised at its own size) for programs that take no
//   metafiles. "WMF": image/x-wmf (a placeable Windows metafile) plus
//   image/png. "JPG" and "PNG": an image (QMimeData::imageData); the JPEG
//   variant has passed through JPEG at quality 100 and carries its losses.
// - The vector picture is round(MW / 10 × CopyFactor / 1000) by
//   round(MH / 10 × CopyFactor / 1000) units, MW × MH being the render
//   target's size: CopyFactor 1000 gives the diagram's own size.
// - Nothing is made for another CopyType, and nothing is said about it.
//   A picture that cannot be made is reported through ctx's Messenger.
//   Either way the result is null and the clipboard stays as it was.
// - No temporary file is used: the pixel variants are encoded in memory.
#include <QSize>
#include <QString>
#include <memory>

class QMimeData;

namespace korvimo {

class DiagramDocument;
class Metafile;
struct ProgramContext;

inline constexpr const char* kEmfMimeType = "image/x-emf";
inline constexpr const char* kWmfMimeType = "image/x-wmf";
inline constexpr const char* kPngMimeType = "image/png";
inline constexpr const char* kOfficeEmfMimeType = "application/x-openoffice-emf;windows_formatname=\"Image EMF\"";
inline constexpr const char* kOfficeWmfMimeType = "application/x-openoffice-wmf;windows_formatname=\"Image WMF\"";

// The vector copy's size for a render target of mw × mh units.
QSize copyMetafileSize(int mw, int mh, int copyFactor);

// The render target stretched over a new metafile of copyMetafileSize, of
// the drawing's own kind.
Metafile copyMetafile(const Metafile& drawing, int copyFactor);

// Kopiren1Click without the clipboard: renders the document (destination
// "K") and builds the content for ctx.settings' CopyType.
std::unique_ptr<QMimeData> diagramCopyMimeData(const DiagramDocument& document, const ProgramContext& ctx);

} // namespace korvimo
