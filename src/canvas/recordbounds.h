#pragma once
// Where each record of a metafile can leave ink, so that a player drawing
// into part of the picture (a band of rows, a zoomed view) can pass over the
// records that cannot reach it.
//
// Contract
// - inkBounds(mf)[i] holds, in metafile units, every pixel record i may
//   paint at any scale and with or without antialiasing: the geometry
//   grown by half the pen width, texts by their cell turned by the
//   escapement and grown by one em on every side (overhangs, underline).
//   What is a device pixel wide at every scale (one-pixel pens, the
//   rasteriser's rounding) is the player's to add: it grows the part it
//   draws by a few device pixels. Skipping a record whose box misses that
//   grown part changes no pixel.
// - State records (pen, brush, font, move) and pictures in pictures carry
//   `always`: players keep their state and let the inner picture judge its
//   own records.
// - inkBoundsFor() keeps the last few results keyed by Metafile::generation()
//   and may be called from several threads at once; each result is worked
//   out once.
#include <QRectF>

#include <memory>
#include <vector>

namespace korvimo {

class Metafile;
class TextMetrics;

struct InkBox {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    bool always = false;

    bool meets(const QRectF& r) const
    {
        return always || (left <= r.right() && right >= r.left() && top <= r.bottom() && bottom >= r.top());
    }
};

std::vector<InkBox> inkBounds(const Metafile& metafile, const TextMetrics& metrics);

std::shared_ptr<const std::vector<InkBox>> inkBoundsFor(const Metafile& metafile);

} // namespace korvimo
