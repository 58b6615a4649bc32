#include "render/legendelement.h"

#include <algorithm>

#include "core/programcontext.h"
#include "render/bandpainter.h"
#include "render/geometry.h"
#include "render/renderstate.h"
#include "render/scriptline.h"
#include "render/textelement.h"

namespace korvimo {

namespace {

// Between the band's arrow point and the start of its text.
constexpr long double kTextGap = 50;

} // namespace

QString legendText(const RenderState& s, int volume)
{
    return s.ctx.texts.format(QStringLiteral("AA00250"), {QString::number(volume)});
}

void interpretLeg(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
    const int volume = f.nextInteger();
    s.colour = s.colourValue(f.nextField());
    const int length = f.nextInteger();
    if (volume < 1 || length < 1) {
        s.elementCode.clear();
        return;
    }
    // The band's width straight from the scale: intmin hides small flows,
    // not the yardstick they are measured by.
    r.width = static_cast<long double>(s.general.sfactor) * volume / 4000;
    r.tOffset1 = 0;
    r.xa[2] = r.xa[1] + static_cast<long double>(length) * 10;
    r.ya[2] = r.ya[1];
    s.legendLabel = legendText(s, volume);
    s.startArrow = false;
    s.endArrow = true;
    offsetLine(r, BandPart::LijnVan1naar2);
}

void drawLeg(RenderState& s)
{
    PointRegisters& r = s.reg;
    prepareArrows(s, s.startArrow, s.endArrow,
                  {r.xa[1], r.ya[1], r.xa[2], r.ya[2], r.xb[1], r.yb[1], r.xb[2], r.yb[2]});
    paintBand(s, BandKind::Lne, s.startArrow, s.endArrow);

    // The text goes through the text painter with a state of its own; the
    // state that text lines carry from one to the next is left as it was.
    const QString content = s.textContent, alignment = s.alignment;
    const bool bold = s.bold, italic = s.italic, underline = s.underline;
    const int size = s.textSizePercent, rotation = s.rotation, colour = s.colour;
    r.xa[1] = std::max(r.xa[2], r.xb[2]) + kTextGap;
    r.ya[1] = (r.ya[2] + r.yb[2]) / 2;
    r.referenceAngle = 0;
    s.textContent = s.legendLabel;
    s.alignment = QStringLiteral("L");
    s.bold = s.italic = s.underline = false;
    s.textSizePercent = 100;
    s.rotation = 0;
    s.colour = 0;
    drawTxt(s);
    s.textContent = content;
    s.alignment = alignment;
    s.bold = bold;
    s.italic = italic;
    s.underline = underline;
    s.textSizePercent = size;
    s.rotation = rotation;
    s.colour = colour;
}

} // namespace korvimo
