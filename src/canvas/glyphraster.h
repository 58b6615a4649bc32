#pragma once
// Large glyphs on raster devices, drawn from a cache of drawn glyphs.
//
// Qt's raster engine keeps glyphs below 64 device pixels in its own cache,
// but fills every larger glyph from its outline each time it is drawn. A
// supersampled picture of a diagram's texts lies above that size, so a
// picture with thousands of texts spends most of its time filling the same
// outlines again.
//
// Contract
// - drawText draws what QPainter::drawText(QPointF(0, ascent), text) would
//   with the painter's transform and the font, in the given colour, and
//   returns true; or draws nothing and returns false, leaving the text to
//   Qt: for devices other than raster ones, antialiased painting, fonts with
//   lines (underline, strike-out, overline), transforms that are not affine,
//   and glyphs that Qt would take from its own cache anyway (below 64 device
//   pixels), which so stay exactly as Qt draws them.
// - Each glyph is filled by Qt's own rasteriser with smoothed edges, as Qt
//   fills large glyphs, once per font, transform, colour and placement; the
//   placement is rounded to a quarter of a device pixel. Edge pixels may
//   therefore differ in shade from Qt's exact drawing; the glyph shapes and
//   advances are Qt's.
// - Not for several threads at once: one instance a thread.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <QTransform>

#include <cstdint>

class QPainter;
class QRawFont;

namespace korvimo {

class GlyphMasks {
public:
    bool drawText(QPainter& painter, const QFont& font, double ascent, const QString& text, const QColor& colour);

    // Qt's limit, QT_MAX_CACHED_GLYPH_SIZE in its raster engine.
    static constexpr double kQtCachedGlyphLimit = 64;

private:
    struct Mask {
        QImage image; // premultiplied: the colour where the glyph is, else transparent
        int left = 0;  // the image's place from the glyph's whole-pixel origin
        int top = 0;
    };
    struct Face {
        QHash<std::uint64_t, Mask> masks; // by glyph and placement
    };

    Face& faceFor(const QRawFont& font, const QTransform& linear, const QColor& colour);

    QHash<QString, Face> m_faces; // by font, transform and colour
    qint64 m_bytes = 0;
};

} // namespace korvimo
