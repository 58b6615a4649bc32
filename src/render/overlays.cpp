#include "render/overlays.h"

#include <cmath>

#include "canvas/metacanvas.h"
#include "core/programcontext.h"
#include "render/coordinates.h"
#include "render/renderstate.h"
#include "render/rounding.h"

namespace korvimo {

void drawIntersectionMarker(MetaCanvas& c, int colour, long double x, long double y)
{
    c.setPenWidth(30);
    c.setPenColor(colour);
    c.ellipse(roundToEven(x - 1), roundToEven(y - 1), roundToEven(x + 1), roundToEven(y + 1));
}

namespace {

QString pair(const char* name, long double x, long double y)
{
    return QString::fromLatin1(name) + QString::number(roundToEven64(x * 1000)) + QLatin1Char(',')
           + QString::number(roundToEven64(y * 1000));
}

} // namespace

void appendCheckBlock(RenderState& s)
{
    const PointRegisters& r = s.reg;
    QStringList& out = s.checkList;
    out.append(QStringLiteral("=========================================="));
    out.append(s.script.value(s.lineIndex));
    out.append(QStringLiteral("---"));
    static const char* const aNames[] = {"", "Xa1,Ya1=", "Xa2,Ya2=", "Xa3,Ya3=", "Xa4,Ya4=",
                                         "Xa5,Ya5=", "Xa6,Ya6=", "Xa7,Ya7=", "Xa8,Ya8="};
    static const char* const bNames[] = {"", "Xb1,Yb1=", "Xb2,Yb2=", "Xb3,Yb3=", "Xb4,Yb4=", "Xb5,Yb5=", "Xb6,Yb6="};
    for (int i = 1; i <= 8; ++i)
        out.append(pair(aNames[i], r.xa[i], r.ya[i]));
    for (int i = 1; i <= 6; ++i)
        out.append(pair(bNames[i], r.xb[i], r.yb[i]));
    out.append(QStringLiteral("--- (only info about last drawn arrow)"));
    out.append(pair("PijlXa1,PijlYa1=", r.pijlXa1, r.pijlYa1));
    out.append(pair("PijlXa2,PijlYa2=", r.pijlXa2, r.pijlYa2));
    out.append(pair("PijlXb1,PijlYb1=", r.pijlXb1, r.pijlYb1));
    out.append(pair("PijlXb2,PijlYb2=", r.pijlXb2, r.pijlYb2));
    out.append(pair("PijlX1Punt,PijlY1Punt=", r.pijlX1Punt, r.pijlY1Punt));
    out.append(pair("PijlX2Punt,PijlY2Punt=", r.pijlX2Punt, r.pijlY2Punt));
    out.append(QStringLiteral("---"));
    out.append(QStringLiteral("Radius(R)=%1").arg(roundToEven64(r.radius * 1000)));
    out.append(QStringLiteral("MaxAllowedForArcWin9x=32768; ArcCorrectieWin9x=%1")
                   .arg(s.ctx.settings.arcCorrectionWin9x));
    const long double bx = std::fabs(r.xa[8] - r.radius) + std::fabs(r.xa[8] + r.radius);
    const long double by = std::fabs(r.ya[8] - r.radius) + std::fabs(r.ya[8] + r.radius);
    out.append(QStringLiteral("Abs(Xa8-R)+Abs(Xa8+R)=%1").arg(roundToEven64(bx)));
    out.append(QStringLiteral("Abs(Ya8-R)+Abs(Ya8+R)=%1").arg(roundToEven64(by)));
}

void drawCoordinateLabels(RenderState& s)
{
    MetaCanvas& c = s.canvas;
    const int lw = s.general.linewidth;
    const int blue = 0xFF0000;
    const int aqua = 0xFFFF00;
    const int points = roundToEven(static_cast<long double>(s.general.fontsize) * s.labelSizePercent / 100 * 10
                                   * s.ctx.printFontFactor);

    c.setPenWidth(1);
    c.setPenColor(blue);
    c.setFontSize(points);
    c.setFontColor(blue);
    c.setFontBold(false);
    c.setFontItalic(false);
    c.setFontUnderline(false);
    c.setFontRotation(0, 0);

    for (const QString& line : s.coordinates) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('A')))
            continue;
        const QString label = line.left(4);
        int ix = 0;
        int iy = 0;
        coordinateValues(line, ix, iy);
        const long double x = static_cast<long double>(ix) * 10;
        const long double y = static_cast<long double>(iy) * 10;

        c.setBrushClear(false);
        c.setBrushColor(aqua);
        c.ellipse(roundToEven(x - 25), roundToEven(y - 25), roundToEven(x + 25), roundToEven(y + 25));

        int top = roundToEven(y - points - 60);
        if (top < 0)
            top = roundToEven(30 + y);
        // In extended precision: points and line widths may be anywhere in
        // the integer range, and the label box is clamped, never wrapped.
        const long double t = top;
        c.rectangle(roundToEven(50 + x - 7.0L * lw), roundToEven(t - 3.0L * lw),
                    roundToEven(c.textWidth(label) + 50 + x + 2.0L * lw),
                    roundToEven(t + c.textHeight(label) + static_cast<long double>(lw)));
        c.setBrushClear(true);
        c.textOut(roundToEven(50 + x), top, label);
    }
    c.setBrushClear(false);
}

} // namespace korvimo
