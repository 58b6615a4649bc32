#include "arms/armswizard.h"

#include <QHash>
#include <QSet>
#include <algorithm>
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

// Angle of (x, y) seen from (cx, cy), degrees in [0, 360), y down.
double polarAngle(double cx, double cy, double x, double y)
{
    const double a = std::atan2(cy - y, x - cx) * 180.0 / M_PI;
    return a < 0 ? a + 360.0 : a;
}

double ccwSpan(double from, double to)
{
    const double d = std::fmod(to - from + 720.0, 360.0);
    return d == 0 ? 360.0 : d;
}

bool readXY(const QString& line, int& x, int& y)
{
    const QStringList f = line.mid(5).split(QLatin1Char(';'));
    if (line.mid(4, 1) != QLatin1String("=") || f.size() < 2)
        return false;
    bool okX = false, okY = false;
    x = f[0].toInt(&okX);
    y = f[1].toInt(&okY);
    return okX && okY;
}

struct ArmAngle {
    int arm;
    double angle;
};

// The arms as the general variables define them, in counter-clockwise order
// of their angles.
QList<ArmAngle> definedArms(const std::array<QString, kArmCount>& defs)
{
    QList<ArmAngle> out;
    for (int i = 0; i < kArmCount; ++i) {
        const QStringList f = defs[i].split(QLatin1Char(';'));
        if (f.size() < 3 || f[0].size() != 4 || f[1].size() != 4)
            continue;
        bool ok = false;
        const int a = f[2].toInt(&ok);
        if (ok)
            out << ArmAngle{i, std::fmod(std::fmod(double(a), 360.0) + 360.0, 360.0)};
    }
    std::stable_sort(out.begin(), out.end(), [](const ArmAngle& l, const ArmAngle& r) { return l.angle < r.angle; });
    return out;
}

QStringList ringPointsOf(const DiagramDocument& doc, const std::array<QString, kArmCount>& defs)
{
    const GeneralVariables& g = doc.general;
    QSet<QString> own{g.armcenter};
    for (const QString& d : defs) {
        own << d.mid(0, 4) << d.mid(5, 4);
    }
    const int centreLine = g.armcenter.isEmpty() ? -1 : firstLineWithName(doc.coordinates, g.armcenter);
    int cx = 0, cy = 0;
    if (centreLine < 0 || !readXY(doc.coordinates[centreLine], cx, cy))
        return {};
    QStringList out;
    QSet<QString> seen;
    for (const QString& line : doc.script) {
        const QStringView code = QStringView(line).left(4);
        int first = 0, count = 0;
        if (code == QLatin1String("ARC;") || code == QLatin1String("AR2;"))
            first = 2, count = 4;
        else if (code == QLatin1String("LNE;"))
            first = 2, count = 2;
        else
            continue;
        const QStringList f = line.split(QLatin1Char(';'));
        for (int i = first; i < first + count && i < f.size(); ++i) {
            const QString& name = f[i];
            if (name.size() != 4 || own.contains(name) || seen.contains(name))
                continue;
            seen << name;
            const int at = firstLineWithName(doc.coordinates, name);
            int x = 0, y = 0;
            if (at < 0 || !readXY(doc.coordinates[at], x, y))
                continue;
            const double d = std::hypot(double(x - cx), double(y - cy));
            if (d > 0 && d < g.armdistcep1)
                out << name;
        }
    }
    return out;
}

// Where the arms stand now, measured from their outer points (an import
// writes the new angles into the definitions before the points move, so the
// definitions cannot say where the ring was laid out).
QList<ArmAngle> standingArms(const DiagramDocument& doc, const std::array<QString, kArmCount>& defs, int cx, int cy)
{
    QList<ArmAngle> out;
    for (int i = 0; i < kArmCount; ++i) {
        for (const QString& name : {defs[i].mid(5, 4), defs[i].mid(0, 4)}) {
            const int line = name.size() == 4 ? firstLineWithName(doc.coordinates, name) : -1;
            int x = 0, y = 0;
            if (line < 0 || !readXY(doc.coordinates[line], x, y) || (x == cx && y == cy))
                continue;
            out << ArmAngle{i, polarAngle(cx, cy, x, y)};
            break;
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const ArmAngle& l, const ArmAngle& r) { return l.angle < r.angle; });
    return out;
}

// Turns the ring points from the old arm angles to the new ones (see the
// header); the centre is the same for both.
void turnRing(DiagramDocument& doc, const std::array<QString, kArmCount>& oldDefs, const QList<ArmAngle>& before,
              int cx, int cy)
{
    const QList<ArmAngle> after = definedArms(doc.general.arm);
    if (before.size() < 2)
        return;
    QHash<int, double> now;
    for (const ArmAngle& a : after)
        now.insert(a.arm, a.angle);
    for (const QString& name : ringPointsOf(doc, oldDefs)) {
        const int line = firstLineWithName(doc.coordinates, name);
        int x = 0, y = 0;
        if (line < 0 || !readXY(doc.coordinates[line], x, y))
            continue;
        const double phi = polarAngle(cx, cy, x, y);
        const double dist = std::hypot(double(x - cx), double(y - cy));
        // The sector (from an arm counter-clockwise to the next) that holds the point.
        qsizetype i = before.size() - 1;
        for (qsizetype j = 0; j < before.size(); ++j)
            if (before[j].angle <= phi)
                i = j;
        const ArmAngle& from = before[i];
        const ArmAngle& to = before[(i + 1) % before.size()];
        if (!now.contains(from.arm) || !now.contains(to.arm))
            continue;
        const double share = ccwSpan(from.angle, phi) / ccwSpan(from.angle, to.angle);
        const double turned = (now[from.arm] + std::fmod(share, 1.0) * ccwSpan(now[from.arm], now[to.arm])) * M_PI / 180.0;
        writePlainPoint(doc.coordinates, name, roundEven(cx + std::cos(turned) * dist),
                        roundEven(cy - std::sin(turned) * dist));
    }
}

} // namespace

QStringList ringPoints(const DiagramDocument& doc) { return ringPointsOf(doc, doc.general.arm); }

bool readPlainPoint(const QStringList& coordinates, const QString& name, int& x, int& y)
{
    const int line = firstLineWithName(coordinates, name);
    return line >= 0 && readXY(coordinates[line], x, y);
}

void writePlainPoint(QStringList& coordinates, const QString& name, int x, int y)
{
    const int line = firstLineWithName(coordinates, name);
    if (line >= 0)
        coordinates[line] = QStringLiteral("%1=%2;%3;").arg(name).arg(x).arg(y);
}

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

void armsWizardApply(DiagramDocument& doc, const ArmsWizardInput& in, bool ringFollows)
{
    placeArmPoints(doc, in, ringFollows);
    doc.markChanged();
}

void placeArmPoints(DiagramDocument& doc, const ArmsWizardInput& in, bool ringFollows)
{
    GeneralVariables& g = doc.general;
    const auto oldArms = g.arm;
    const bool sameCentre = g.armcenter == in.center;
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

    const QList<ArmAngle> before = ringFollows && sameCentre ? standingArms(doc, oldArms, cx, cy) : QList<ArmAngle>();
    for (QString& def : g.arm)
        def.clear();

    const int d1 = in.distCenterToPoint1;
    // The sum of two 32-bit distances may not fit; placing the point that far
    // out is still what was asked for.
    const long long d12 = static_cast<long long>(in.distCenterToPoint1) + in.distBetweenPoints;
    auto place = [&](const QString& name, int x, int y) { writePlainPoint(doc.coordinates, name, x, y); };
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
    if (ringFollows && sameCentre)
        turnRing(doc, oldArms, before, cx, cy);
}

} // namespace korvimo
