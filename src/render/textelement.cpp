#include "render/textelement.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <pwd.h>
#include <unistd.h>

#include "core/programcontext.h"
#include "render/geometry.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"
#include "render/volumes.h"

namespace korvimo {

namespace {

// Index 1..count of a name "<prefix>NN", or 0.
int numberedName(const QString& name, QLatin1String prefix, int count)
{
    if (!name.startsWith(prefix) || name.size() != prefix.size() + 2)
        return 0;
    const QChar tens = name.at(prefix.size()), ones = name.at(prefix.size() + 1);
    if (!tens.isDigit() || !ones.isDigit() || tens.unicode() > '9' || ones.unicode() > '9')
        return 0;
    const int n = (tens.unicode() - '0') * 10 + (ones.unicode() - '0');
    return n >= 1 && n <= count ? n : 0;
}

// Larger than any diagram (a 1500-unit diagram is 15000 metafile units);
// beyond it a broken size field would only make the players rasterise
// gigantic glyphs.
constexpr long double kMaxFontPoints = 20000;

} // namespace

bool readsUpsideDown(long double degrees)
{
    long double a = std::fmod(degrees, 360.0L);
    if (a < 0)
        a += 360;
    return a > 90 && a < 270;
}

void keepUpright(long double& phi, QString& alignment)
{
    if (!readsUpsideDown(phi))
        return;
    // Half a turn about the anchor with the alignment mirrored covers the
    // very box the text had: same place, read from left to right. No
    // alignment draws as "L".
    phi -= 180;
    if (alignment == QLatin1String("R"))
        alignment = QStringLiteral("L");
    else if (alignment != QLatin1String("C"))
        alignment = QStringLiteral("R");
}

QString loginName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char* var : {"USER", "LOGNAME"}) {
        const QString v = qEnvironmentVariable(var);
        if (!v.isEmpty())
            return v;
    }
    return QStringLiteral("?");
}

QString textVariable(const RenderState& s, const QString& name)
{
    if (name == QLatin1String("Username"))
        return loginName();
    if (name == QLatin1String("Filename"))
        return QFileInfo(s.fileName).fileName();
    if (const int n = numberedName(name, QLatin1String("Title"), 5))
        return s.general.title[n - 1];
    if (const int n = numberedName(name, QLatin1String("Streetname"), 16))
        return s.general.streetname[n - 1];
    return QStringLiteral("?");
}

void interpretTxt(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    const QString position = f.nextField();
    if (position == QLatin1String("R")) {
        QString first, second;
        f.nextPointPair(first, second);
        const QString anchor = f.nextField();
        s.resolvePoint(first, r.xa[1], r.ya[1]);
        s.resolvePoint(second, r.xa[2], r.ya[2]);
        r.referenceAngle = directionAngle(r.xa[1], r.ya[1], r.xa[2], r.ya[2]);
        if (anchor == QLatin1String("C")) {
            r.xa[1] = (r.xa[1] + r.xa[2]) / 2;
            r.ya[1] = (r.ya[1] + r.ya[2]) / 2;
        } else if (anchor == QLatin1String("2")) {
            r.xa[1] = r.xa[2];
            r.ya[1] = r.ya[2];
        }
    } else {
        s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
        r.referenceAngle = 0;
    }
    const long double dx = s.thickness(f.nextField());
    const long double dy = s.thickness(f.nextField());
    s.rotation = f.nextInteger();
    const QString alignment = f.nextField();
    if (alignment == QLatin1String("L") || alignment == QLatin1String("C") || alignment == QLatin1String("R"))
        s.alignment = alignment;
    const QString style = f.nextField();
    s.bold = style.size() > 0 && style.at(0) == QLatin1Char('Y');
    s.italic = style.size() > 1 && style.at(1) == QLatin1Char('Y');
    s.underline = style.size() > 2 && style.at(2) == QLatin1Char('Y');
    s.textSizePercent = f.nextInteger();
    s.colour = s.colourValue(f.nextField());

    const QString kind = f.nextField();
    if (kind == QLatin1String("T"))
        s.textContent = f.nextQuotedText();
    else if (kind == QLatin1String("I"))
        s.textContent = volumeLabel(s.raw(f.nextField()), s.general.intminnumber);
    else if (kind == QLatin1String("V"))
        s.textContent = textVariable(s, f.nextField());

    // Along the reference direction, then a positive across-shift to its left.
    const long double theta = r.referenceAngle * kDegToRad;
    const long double across = (r.referenceAngle + 90) * kDegToRad;
    r.xa[1] += std::cos(theta) * dx;
    r.ya[1] -= std::sin(theta) * dx;
    r.xa[1] += std::cos(across) * dy;
    r.ya[1] -= std::sin(across) * dy;
}

void drawTxt(RenderState& s)
{
    if (s.textContent.isEmpty())
        return;
    MetaCanvas& c = s.canvas;
    PointRegisters& r = s.reg;
    long double phi = s.rotation + r.referenceAngle;
    QString alignment = s.alignment;
    if (s.ctx.settings.keepTextsUpright)
        keepUpright(phi, alignment);

    c.setBrushClear(true);
    const long double size = std::clamp(static_cast<long double>(s.general.fontsize) * s.textSizePercent / 100 * 10
                                            * static_cast<long double>(s.ctx.printFontFactor),
                                        -kMaxFontPoints, kMaxFontPoints);
    c.setFontSize(roundToEven(size));
    c.setFontColor(s.general.sblack ? 0 : s.colour);
    c.setFontBold(s.bold);
    c.setFontItalic(s.italic);
    c.setFontUnderline(s.underline);
    const int tenths = roundToEven(phi * 10);
    c.setFontRotation(tenths, tenths);

    const long double h = c.textHeight(s.textContent);
    const long double w = c.textWidth(s.textContent);
    const long double up = (phi + 90) * kDegToRad;
    r.xa[1] += std::cos(up) * h / 2;
    r.ya[1] -= std::sin(up) * h / 2;
    const long double along = phi * kDegToRad;
    long double shift = 0;
    if (alignment == QLatin1String("R"))
        shift = w;
    else if (alignment == QLatin1String("C"))
        shift = w / 2;
    r.xa[1] -= std::cos(along) * shift;
    r.ya[1] += std::sin(along) * shift;

    c.textOut(roundToEven(r.xa[1]), roundToEven(r.ya[1]), s.textContent);
    c.setFontRotation(0, 0);
    c.setBrushClear(false);
}

} // namespace korvimo
