// REC: a rectangle filled with a vertical colour gradient, one line per row.
#include <algorithm>
#include <cmath>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "render/furniture.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"

namespace korvimo {

namespace {

int channel(int colour, int byte) { return (static_cast<unsigned>(colour) >> (8 * byte)) & 0xFF; }

} // namespace

void interpretRec(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
    s.resolvePoint(f.nextField(), r.xa[4], r.ya[4]);
    s.gradientCode = f.nextField(); // every code draws the same gradient
    s.rectColour1 = s.colourValue(f.nextField());
    s.rectColour2 = s.colourValue(f.nextField());
}

void drawRec(RenderState& s)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    const int left = roundToEven(r.xa[1]), top = roundToEven(r.ya[1]);
    const int right = roundToEven(r.xa[4]), bottom = roundToEven(r.ya[4]);
    const long long rows = static_cast<long long>(bottom) - top;
    const long double h = rows == 0 ? 1 : static_cast<long double>(rows);
    long double step[3];
    for (int k = 0; k < 3; ++k)
        step[k] = (channel(s.rectColour2, k) - channel(s.rectColour1, k)) / h;

    // Rows beyond the picture (and a pen width around it) are invisible.
    const long long margin = std::max<long long>(1, std::llabs(static_cast<long long>(s.general.linewidth)));
    const long long first = std::max(0LL, -margin - top);
    const long long last = std::min(rows - 1, static_cast<long long>(c.target().height()) + margin - top);
    for (long long n = first; n <= last; ++n) {
        int colour = 0;
        for (int k = 0; k < 3; ++k) {
            long long v = channel(s.rectColour1, k) + static_cast<long long>(std::ceil(n * step[k]));
            v = ((v % 256) + 256) % 256;
            colour |= static_cast<int>(v) << (8 * k);
        }
        c.setPenColor(colour);
        const int y = static_cast<int>(top + n);
        c.moveTo(left, y);
        c.lineTo(right, y);
    }
}

} // namespace korvimo
