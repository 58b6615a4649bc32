#pragma once
// Plays a Metafile onto any QPainter (screen, image, printer, PDF, SVG) the
// way GDI would draw the same records.
//
// Contract
// - The metafile's rectangle (0, 0)-(width, height) is mapped onto the
//   target rectangle; y grows downwards. Nothing is clipped.
// - Pens: width 0 is one device pixel; wider pens scale with the picture and
//   have round ends and joins. Brush clear = no fill (and transparent text).
// - Arc runs counter-clockwise on screen from the radial through its start
//   point to the radial through its end point; equal radials give the whole
//   ellipse. Polygons are filled (alternate rule) with the brush and
//   outlined with the pen, as are ellipses and rectangles.
// - TextOut places the top-left corner of the text cell at its point and
//   turns the text about that point by the font's escapement. With a solid
//   brush the cell gets the brush colour behind the text.
// - Without antialias (the default) edges and text are hard two-colour, as
//   GDI draws them; images are stretched by nearest pixel.
// - The painter's own state is restored afterwards. A metafile of zero size
//   draws nothing.
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

#include "canvas/metafile.h"
#include "canvas/textmetrics.h"

class QPainter;

namespace korvimo {

// 0x00BBGGRR to a Qt colour.
QColor windowsColor(int color);

class GlyphMasks;

class QtPlayer {
public:
    QtPlayer();
    ~QtPlayer();
    QtPlayer(QtPlayer&&) noexcept;
    QtPlayer& operator=(QtPlayer&&) noexcept;

    void play(const Metafile& metafile, QPainter& painter, const QRectF& target, bool antialias = false);

    // Qt draws glyphs of 64 device pixels and more as filled outlines, each
    // time anew, which makes large pictures with many texts slow. With this
    // on, a raster device without antialiasing gets such glyphs from a cache
    // of drawn glyphs, placed to a quarter of a device pixel: edge pixels of
    // large glyphs may differ from Qt's exact drawing (bounded by a test).
    // Smaller glyphs, vector devices and antialiased drawing never change.
    void setCachedLargeGlyphs(bool on) { m_cachedLargeGlyphs = on; }

private:
    void playRecords(const Metafile& metafile, QPainter& painter, const QRectF& target, bool antialias,
                     int depth);

    TextMetrics m_metrics;
    bool m_cachedLargeGlyphs = false;
    std::unique_ptr<GlyphMasks> m_glyphs;
};

// The metafile drawn over a whole image of the given size on a background
// (a Windows colour value). A size with no pixels gives a null image.
QImage renderToImage(const Metafile& metafile, QSize size, bool antialias = false, int background = 0xFFFFFF);

// Vector copies of the drawing at its own size (one unit = one 96-DPI pixel).
// Written safely (core/safefile.h): a failure, a full disk included, leaves
// any existing file untouched, returns false and puts the whole message in
// *error ("Cannot write file "<path>". <reason>").
bool writeSvg(const Metafile& metafile, const QString& path, QString* error = nullptr);
bool writePdf(const Metafile& metafile, const QString& path, QString* error = nullptr);

} // namespace korvimo
