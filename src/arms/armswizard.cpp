#include "arms/armswizard.h"

#include <cmath>

#include "document/diagramdocument.h"
#include "document/integertext.h"

namespace korvimo {

namespace {

bool isChoice(const QString& line)
{
    return !line.startsWith(QLatin1Char('*')) && !line.startsWith(QLatin1Char('#'));
}

// A combo box selects the first item equal to the text; anything else leaves
// it blank.
QString select(const QStringList& choices, const QString& text)
{
    return choices.contains(text) ? text : QString();
}

// The angle is converted to radians in single precision (as the stored
// definitions were always placed) and only then widened; at 90 degrees the
// tiny cosine that this leaves rounds away for ordinary distances.
long double radians(int angle)
{
    const float theta = float(angle * 0.017453292519943295769L);
    return static_cast<long double>(theta);
}

int roundEven(long double v) { return int(std::nearbyint(v)); }

int firstLineWithName(const QStringList& lines, const QString& name)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].left(4) == name)
            return i;
    }
    return -1;
}

} // namespace

int armPointX(int cx, int angle, int distance)
{
    return cx + roundEven(std::cos(radians(angle)) * distance);
}

int armPointY(int cy, int angle, int distance)
{
    return cy - roundEven(std::sin(radians(angle)) * distance);
}

ArmsWizardInput armsWizardLoad(const DiagramDocument& doc)
{
    ArmsWizardInput in;
    for (const QString& line : doc.coordinates) {
        if (isChoice(line))
            in.pointNumbers << line.left(4);
    }
    const GeneralVariables& g = doc.general;
    in.center = select(in.pointNumbers, g.armcenter);
    in.distCenterToPoint1 = g.armdistcep1;
    in.distBetweenPoints = g.armdistp1p2;
    for (int i = 0; i < kArmCount; ++i) {
        const QString& def = g.arm[i];
        if (def.isEmpty())
            continue;
        in.arms[i].point1 = select(in.pointNumbers, def.mid(0, 4));
        in.arms[i].point2 = select(in.pointNumbers, def.mid(5, 4));
        in.arms[i].angle = toIntegerOr(QStringView(def).mid(qMin<qsizetype>(10, def.size())), 0);
    }
    return in;
}

void armsWizardApply(DiagramDocument& doc, const ArmsWizardInput& in)
{
    placeArmPoints(doc, in);
    doc.markChanged();
}

void placeArmPoints(DiagramDocument& doc, const ArmsWizardInput& in)
{
    GeneralVariables& g = doc.general;
    g.armcenter = in.center;
    g.armdistcep1 = in.distCenterToPoint1;
    g.armdistp1p2 = in.distBetweenPoints;

    // No centre chosen matches no line: lines are never empty.
    const int centreLine = in.center.isEmpty() ? -1 : firstLineWithName(doc.coordinates, in.center);
    if (centreLine < 0)
        return;
    const QString& c = doc.coordinates[centreLine];
    const int eq = c.indexOf(QLatin1Char('='));
    const int s1 = c.indexOf(QLatin1Char(';'), eq + 1);
    const int s2 = s1 < 0 ? -1 : c.indexOf(QLatin1Char(';'), s1 + 1);
    const QString xText = c.mid(eq + 1, s1 < 0 ? -1 : s1 - eq - 1);
    const QString yText = s1 < 0 ? QString() : c.mid(s1 + 1, s2 < 0 ? -1 : s2 - s1 - 1);
    // Read once: an arm whose point is the centre itself rewrites the centre's
    // line, but the remaining arms still turn about the old centre.
    const int cx = toInteger(xText);
    const int cy = toInteger(yText);

    for (QString& def : g.arm)
        def.clear();

    const int d1 = in.distCenterToPoint1;
    // The sum of two 32-bit distances may not fit; placing the point that far
    // out is still what was asked for.
    const long long d12 = static_cast<long long>(in.distCenterToPoint1) + in.distBetweenPoints;
    auto place = [&](const QString& name, int x, int y) {
        const int line = firstLineWithName(doc.coordinates, name);
        if (line >= 0)
            doc.coordinates[line] = QStringLiteral("%1=%2;%3;").arg(name).arg(x).arg(y);
    };
    auto clampInt = [](long double v) {
        v = std::nearbyint(v);
        if (v > 2147483647.0L)
            return 2147483647;
        if (v < -2147483648.0L)
            return int(-2147483647 - 1);
        return int(v);
    };
    for (int i = 0; i < kArmCount; ++i) {
        const ArmRow& arm = in.arms[i];
        if (arm.point1.isEmpty() || arm.point2.isEmpty())
            continue;
        g.arm[i] = QStringLiteral("%1;%2;%3").arg(arm.point1, arm.point2).arg(arm.angle);
        const long double co = std::cos(radians(arm.angle));
        const long double si = std::sin(radians(arm.angle));
        place(arm.point1, clampInt(cx + std::nearbyint(co * d1)), clampInt(cy - std::nearbyint(si * d1)));
        place(arm.point2, clampInt(cx + std::nearbyint(co * d12)), clampInt(cy - std::nearbyint(si * d12)));
    }
}

} // namespace korvimo
