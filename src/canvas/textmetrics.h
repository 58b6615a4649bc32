#pragma once
// Text measurement on the 96-DPI reference device, shared by the recorder,
// the players and the metafile writers so that what the renderer measures
// is what every viewer draws.
//
// Contract
// - One metafile unit is one reference pixel. A font size of P points is
//   the GDI logical height -MulDiv(P, 96, 72): the em height is P × 4/3
//   units, rounded half away from zero (heightForPoints).
// - Fonts are Qt fonts at that pixel size with hinting, kerning and
//   ligatures off, so advances do not depend on the screen and each
//   character keeps its own advance, as GDI lays text out.
// - textWidth is the sum of the character advances, rounded; advances()
//   gives one integer per UTF-16 unit whose sum is exactly textWidth, so
//   text written with these advances (EMF Dx) ends where it was measured.
// - textHeight is the cell height (ascent + descent), like GDI's tmHeight:
//   the same for every text in one font.
// - A TextMetrics keeps a small cache of font metrics; it is cheap to make
//   and not shared between threads. Fonts need a QGuiApplication (the
//   offscreen platform will do).
// - Em heights are clamped to 1..16000 units: beyond that Qt's metrics
//   overflow, and no diagram needs such text.
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>

#include <map>

#include "canvas/metafile.h"

namespace korvimo {

class TextMetrics {
public:
    // GDI logical height (negative: em height) for a size in points.
    static int heightForPoints(int points);
    // The size in points GDI reports back for a logical height.
    static int pointsForHeight(int height);

    // The Qt font that stands for a logical font; its pixel size is the em
    // height in metafile units. Escapement and colour are not part of it.
    QFont qtFont(const FontSpec& font) const;

    int textWidth(const FontSpec& font, const QString& text) const;
    int textHeight(const FontSpec& font) const;
    QList<int> advances(const FontSpec& font, const QString& text) const;

    // Distance from the top of the cell to the baseline, unrounded.
    double ascent(const FontSpec& font) const;
    double descent(const FontSpec& font) const;

private:
    const QFontMetricsF& metricsFor(const FontSpec& font) const;
    int emHeight(const FontSpec& font) const;

    mutable std::map<QString, QFontMetricsF> m_cache;
};

} // namespace korvimo
