// Straight flow band: from point, to point, offset, width, colour, arrow
// flags at the start and the end.
#include "render/bandpainter.h"
#include "render/elementpainters.h"
#include "render/geometry.h"
#include "render/renderstate.h"
#include "render/scriptline.h"

namespace korvimo {

void interpretLne(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
    s.resolvePoint(f.nextField(), r.xa[2], r.ya[2]);
    r.tOffset1 = s.thickness(f.nextField());
    r.width = s.thickness(f.nextField());
    if (r.width == 0) {
        s.elementCode.clear(); // no band, no arrows
        return;
    }
    s.colour = s.colourValue(f.nextField());
    s.startArrow = f.nextField() == QLatin1String("A");
    s.endArrow = f.nextField() == QLatin1String("A");
    offsetLine(r, BandPart::LijnVan1naar2);
}

void drawLne(RenderState& s)
{
    const PointRegisters& r = s.reg;
    prepareArrows(s, s.startArrow, s.endArrow,
                  {r.xa[1], r.ya[1], r.xa[2], r.ya[2], r.xb[1], r.yb[1], r.xb[2], r.yb[2]});
    paintBand(s, BandKind::Lne, s.startArrow, s.endArrow);
}

} // namespace korvimo
