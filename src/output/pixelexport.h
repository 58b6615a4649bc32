#pragma once
// Pixel pictures of the diagram: the drawing rasterised at a chosen width,
// smoothed by fourfold supersampling and AreaAverageReduce, written as BMP,
// JPEG or PNG. ExportAsPixelFile is shared by export, clipboard copy and
// server mode.
//
// Contract:
// - The picture is width pixels wide and keeps the drawing's aspect:
//   height round(MH / MW · width · f) / f for supersampling factor f
//   (4 anti-aliased, else 1), halves to even, at least one pixel.
// - The working bitmaps are 32-bit on white; the drawing is played without
//   the painter's own antialiasing (the reduction does the smoothing). The
//   supersampled bitmap is drawn in bands of rows, never whole.
// - Nothing is written unless the whole file could be encoded; the file is
//   replaced whole or not at all (writeWholeFile). Failures are reported
//   through the Messenger with the failed step's message and give false.
#include <QImage>
#include <QString>

#include <optional>

namespace korvimo {

class DiagramDocument;
class Metafile;
struct ProgramContext;

enum class PixelFileType { Bmp, Jpg, Png };

// "BMP", "JPG" or "PNG" (any case); nothing for other texts.
std::optional<PixelFileType> pixelFileTypeOf(const QString& typeText);

// Pictures beyond these are refused: 65500 is the most a JPEG file can
// hold a side, and 2^28 pixels take 1 GiB as a bitmap.
inline constexpr int kMaxPictureSide = 65500;
inline constexpr qint64 kMaxPicturePixels = qint64(1) << 28;

// Pictures drawn without supersampling up to this many pixels are drawn
// whole, as they always were; larger ones are drawn in strips like the
// supersampled ones, so that memory stays near one strip.
inline constexpr qint64 kWholePicturePixels = qint64(1) << 25;

// The text of the PNG tEXt chunk besides the creator text.
inline constexpr const char* kPngIdentification = "Traffic flow diagram";

// Steps 2 and 3: the drawing at the given width, supersampled and reduced
// when antiAliased. A null image and the reason in *error when the width is
// below 1, the drawing has no size or the picture is too large.
// cachedGlyphs: large glyphs from the player's glyph cache (the setting
// ExportCachedGlyphs; QtPlayer::setCachedLargeGlyphs), else exactly as Qt
// draws them.
QImage rasteriseDrawing(const Metafile& drawing, int width, bool antiAliased, QString* error,
                        bool cachedGlyphs = false);

// Step 4: encodes and writes the picture. creatorText goes into the PNG's
// tEXt chunk.
bool savePixelPicture(const QImage& picture, PixelFileType type, const QString& fileName,
                      const QString& creatorText, QString* error);

// Steps 2 to 4 on an already recorded drawing; reports failures through
// ctx's Messenger.
bool exportDrawingAsPixelFile(const Metafile& drawing, const ProgramContext& ctx,
                              const QString& typeText, bool antiAliased, int width,
                              const QString& fileName);

// The whole export: renders the document (type "EMF", destination "E")
// and writes the pixel file. A drawing the renderer could not finish is
// still written (the renderer has reported why), as the screen shows it.
bool ExportAsPixelFile(const DiagramDocument& document, const ProgramContext& ctx,
                       const QString& typeText, bool antiAliased, int width,
                       const QString& fileName);

} // namespace korvimo
