// NTH: a circle with a black pointer towards the diagram's north.
#include <cmath>

#include "canvas/metacanvas.h"
#include "render/furniture.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"

namespace korvimo {

void interpretNth(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
    r.radius = static_cast<long double>(f.nextInteger()) * 10;
}

void drawNth(RenderState& s)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    const long double x = r.xa[1], y = r.ya[1], R = r.radius;
    const long double north = s.general.northnorth;
    // The angles go to radians in single precision, as the arrow always has.
    const auto at = [&](long double a) {
        const float radians = static_cast<float>(a) * 0.017453292519943295769f;
        return QPoint(roundToEven(x + std::cos(static_cast<long double>(radians)) * 0.9L * R),
                      roundToEven(y - std::sin(static_cast<long double>(radians)) * 0.9L * R));
    };

    c.setPenWidth(s.general.linewidth);
    c.setPenColor(0);
    c.setBrushClear(false);
    c.setBrushColor(0);
    c.arc(roundToEven(x - R), roundToEven(y - R), roundToEven(x + R), roundToEven(y + R), roundToEven(x), 0,
          roundToEven(x), 0);
    const QPoint crossFrom = at(north - 95), crossTo = at(north + 95);
    c.moveTo(crossFrom.x(), crossFrom.y());
    c.lineTo(crossTo.x(), crossTo.y());
    c.polygon({at(north - 85), at(north + 85), at(north)});
}

} // namespace korvimo
