#include "arms/armsfinish.h"

#include <QHash>
#include <QSet>
#include <QLineF>
#include <cmath>
#include <functional>

#include "arms/armswizard.h"
#include "arms/drawnshapes.h"
#include "canvas/metafile.h"
#include "canvas/textmetrics.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/maakmeta.h"

namespace korvimo {

namespace {

constexpr double kScale = 10.0;      // metafile units per diagram unit
constexpr double kEdgeMargin = 160;  // from the picture's edges: inside any frame
constexpr double kStripGap = 30;     // below the titles, above the bottom texts
constexpr double kNamePad = 15;      // around a street name's cell
constexpr int kFitRounds = 6;

struct Arm {
    QString p1, p2;
    int angle = 0;
};

struct NameText {
    int arm = 0; // 1..16
    QString first, second;
    int sizePercent = 100;
    bool bold = false, italic = false;
};

// Reading outwards along the arm goes from left to right.
bool readsOutwards(int angle)
{
    const int a = ((angle % 360) + 360) % 360;
    return a <= 90 || a > 270;
}

QPointF direction(int angle)
{
    const double a = angle * M_PI / 180.0;
    return {std::cos(a), -std::sin(a)};
}

QList<NameText> nameTexts(const DiagramDocument& doc, const QHash<int, Arm>& arms, const QString& centre)
{
    QSet<QString> taken{centre};
    for (const Arm& a : arms) {
        taken.insert(a.p1);
        taken.insert(a.p2);
    }
    QList<NameText> out;
    for (const QString& line : doc.script) {
        if (!line.startsWith(QLatin1String("TXT;")))
            continue;
        const QStringList f = line.split(QLatin1Char(';'));
        if (f.size() < 15 || f[2] != QLatin1String("R") || !f[3].startsWith(QLatin1Char('['))
            || !f[4].endsWith(QLatin1Char(']')) || f[5] != QLatin1String("C") || f[8] != QLatin1String("0")
            || f[9] != QLatin1String("C") || f[13] != QLatin1String("V") || !f[14].startsWith(QLatin1String("Streetname")))
            continue;
        NameText n;
        n.arm = f[14].mid(10).toInt();
        n.first = f[3].mid(1);
        n.second = f[4].chopped(1);
        if (!arms.contains(n.arm) || n.first == n.second || taken.contains(n.first) || taken.contains(n.second))
            continue;
        n.sizePercent = f[11].toInt();
        n.bold = f[10].size() > 0 && f[10][0] == QLatin1Char('Y');
        n.italic = f[10].size() > 1 && f[10][1] == QLatin1Char('Y');
        out << n;
    }
    return out;
}

bool isFurniture(DrawingGroup g)
{
    switch (g) {
    case DrawingGroup::Frame:
    case DrawingGroup::Background:
    case DrawingGroup::Logo:
    case DrawingGroup::ITotal:
    case DrawingGroup::Text:
    case DrawingGroup::Filename:
    case DrawingGroup::North: return true;
    default: return false;
    }
}

class Finisher {
public:
    Finisher(DiagramDocument& doc, const ProgramContext& ctx) : m_doc(doc), m_ctx(ctx)
    {
        m_quiet = ctx;
        m_quiet.messenger = &m_silence;
        m_quiet.view = RenderSwitches();
    }

    bool run()
    {
        GeneralVariables& g = m_doc.general;
        for (int i = 0; i < kArmCount; ++i) {
            const QStringList f = g.arm[i].split(QLatin1Char(';'));
            if (f.size() >= 3 && f[0].size() == 4 && f[1].size() == 4)
                m_arms.insert(i + 1, Arm{f[0], f[1], f[2].toInt()});
        }
        if (m_arms.isEmpty() || !readPlainPoint(m_doc.coordinates, g.armcenter, m_cx, m_cy))
            return false;
        m_names = nameTexts(m_doc, m_arms, g.armcenter);
        if (m_ctx.settings.ringFollowsArms)
            m_ring = ringPoints(m_doc);
        const QStringList before = m_doc.coordinates;
        const int w0 = g.diagramwidth, h0 = g.diagramheight, d2 = g.armdistp1p2;
        fitIntoPicture(placeNames());
        return m_doc.coordinates != before || g.diagramwidth != w0 || g.diagramheight != h0 || g.armdistp1p2 != d2;
    }

private:
    DrawnShapes draw(const std::function<bool(DrawingGroup)>& visible)
    {
        auto& grp = m_doc.general.grp;
        const auto saved = grp;
        for (int i = 0; i < kDrawingGroupCount; ++i)
            grp[i] = saved[i] && visible(DrawingGroup(i));
        Metafile target;
        MaakMeta(m_doc, m_quiet, target, QStringLiteral("EMF"), QStringLiteral("E"));
        grp = saved;
        return drawnShapes(target, m_doc.general.linewidth, m_metrics);
    }

    // The name on its arm's own points, as a name along the arm always was.
    void nameOnArm(const NameText& n)
    {
        const Arm& a = m_arms[n.arm];
        int x1, y1, x2, y2;
        if (!readPlainPoint(m_doc.coordinates, a.p1, x1, y1) || !readPlainPoint(m_doc.coordinates, a.p2, x2, y2))
            return;
        if (!readsOutwards(a.angle)) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        writePlainPoint(m_doc.coordinates, n.first, x1, y1);
        writePlainPoint(m_doc.coordinates, n.second, x2, y2);
    }

    // Places the names and returns the bounds of the crossing with them.
    QRectF placeNames()
    {
        for (const NameText& n : m_names)
            nameOnArm(n);
        const bool clear = !m_names.isEmpty() && m_ctx.settings.placeNamesClear;
        // The names' own drawing is left out only when they are placed here;
        // titles and totals are kept clear of by the fit, not by the names.
        const DrawnShapes shapes = draw([clear](DrawingGroup g) {
            return !isFurniture(g) && (!clear || g != DrawingGroup::Names);
        });
        if (!clear)
            return shapes.bounds;
        QList<QPolygonF> texts;
        for (const DrawnText& t : shapes.texts)
            texts << t.cell;
        QRectF bounds = shapes.bounds;
        for (const NameText& n : m_names) {
            QPolygonF cell;
            if (placeName(n, shapes.bands, shapes.strokes, texts, &cell)) {
                texts << cell;
                bounds = bounds.united(cell.boundingRect());
            }
        }
        return bounds;
    }

    bool placeName(const NameText& n, const QList<QPolygonF>& bands, const QList<QPolygonF>& strokes,
                   const QList<QPolygonF>& texts, QPolygonF* placed)
    {
        const GeneralVariables& g = m_doc.general;
        const QString text = g.streetname[n.arm - 1];
        if (text.isEmpty())
            return false;
        FontSpec f;
        f.name = g.fontname;
        f.height = TextMetrics::heightForPoints(
            int(std::nearbyint(g.fontsize * n.sizePercent / 100.0 * 10 * m_ctx.printFontFactor)));
        f.bold = n.bold;
        f.italic = n.italic;
        const double w = m_metrics.textWidth(f, text) + 2 * kNamePad;
        const double h = m_metrics.textHeight(f) + 2 * kNamePad;
        const Arm& arm = m_arms[n.arm];
        const QPointF u = direction(arm.angle), across(u.y(), -u.x()); // across: to the left of outwards
        const QPointF c(m_cx * kScale, m_cy * kScale);
        const double d1 = g.armdistcep1 * kScale, d2 = g.armdistp1p2 * kScale;
        auto cellAt = [&](QPointF m) {
            const QPointF a = u * (w / 2), b = across * (h / 2);
            return QPolygonF({m - a - b, m + a - b, m + a + b, m - a + b});
        };
        // Boxes first: most shapes lie far from the name.
        QList<QRectF> bandBoxes, strokeBoxes, textBoxes;
        for (const QPolygonF& b : bands)
            bandBoxes << b.boundingRect();
        for (const QPolygonF& s : strokes)
            strokeBoxes << s.boundingRect();
        for (const QPolygonF& t : texts)
            textBoxes << t.boundingRect();
        auto clearOf = [](const QPolygonF& cell, const QList<QPolygonF>& shapes, const QList<QRectF>& boxes) {
            const QRectF box = cell.boundingRect();
            for (qsizetype i = 0; i < shapes.size(); ++i)
                if (boxes[i].intersects(box) && shapesOverlap(cell, shapes[i]))
                    return false;
            return true;
        };
        // Out along the arm first, where the bands part, then in towards the
        // centre; never further across than a short way beside the bands.
        const double mid = d1 + d2 / 2, lo = std::max(w / 2, d1 / 2), hi = d1 + 2 * d2;
        constexpr double step = 30, lateralStep = 15, reach = 600;
        QList<double> along;
        for (double t = mid; t <= hi; t += step)
            along << t;
        for (double t = mid - step; t >= lo; t -= step)
            along << t;
        // Beside the arm's outermost band on either side and clear of the
        // kerbs too: a clear place
        // between the bands of the two directions would read as a band's
        // label, one beyond the bands' ends as the arm's total. The arm's own
        // bands are those that cross it near its outer end, where no other
        // arm's bands come.
        const QPointF endMid = c + u * (d1 + d2 * 0.9);
        const QLineF endLine(endMid - across * 1e5, endMid + across * 1e5);
        double bundleLo = 1e300, bundleHi = -1e300;
        for (const QPolygonF& b : bands)
            for (qsizetype i = 0; i < b.size(); ++i) {
                QPointF x;
                if (QLineF(b[i], b[(i + 1) % b.size()]).intersects(endLine, &x) != QLineF::BoundedIntersection)
                    continue;
                const QPointF r = x - endMid;
                const double l = r.x() * across.x() + r.y() * across.y();
                bundleLo = std::min(bundleLo, l);
                bundleHi = std::max(bundleHi, l);
            }
        auto besideBundle = [&](QPointF& at) {
            if (bundleLo > bundleHi)
                return false;
            for (const double t : along) {
                // Out from each edge of the bundle, the nearer clear place of the two sides.
                for (double k = 0; k <= reach / 2; k += lateralStep)
                    for (const double l : {bundleHi + h / 2 + k, bundleLo - h / 2 - k}) {
                        const QPointF m = c + u * t + across * l;
                        const QPolygonF cell = cellAt(m);
                        if (clearOf(cell, bands, bandBoxes) && clearOf(cell, strokes, strokeBoxes)
                            && clearOf(cell, texts, textBoxes)) {
                            at = m;
                            return true;
                        }
                    }
            }
            return false;
        };
        // Where the bundle's sides are crowded, the nearest clear place out
        // from the arm's line.
        auto nearestClear = [&](QPointF& at) {
            // A crossing of many arms is dense near its centre; a name that
            // finds no place within this many tries stays on its arm.
            int tries = 600;
            for (const double t : along) {
                double best = -1;
                for (int side : {1, -1}) {
                    for (double l = 0; l <= reach && (best < 0 || l < best); l += lateralStep) {
                        if (tries-- <= 0)
                            return false;
                        const QPointF m = c + u * t + across * (side * l);
                        const QPolygonF cell = cellAt(m);
                        if (!clearOf(cell, bands, bandBoxes))
                            continue;
                        if (clearOf(cell, texts, textBoxes)) {
                            best = l;
                            at = m;
                        }
                        break;
                    }
                }
                if (best >= 0)
                    return true;
            }
            return false;
        };
        QPointF bestAt;
        if (!besideBundle(bestAt) && !nearestClear(bestAt))
            return false;
        // Two points along the arm either side of the name's middle; far
        // apart, so that rounding them to whole units hardly turns it.
        const QPointF half = u * std::max(d2, 400.0) / 2;
        QPointF p = bestAt - half, q = bestAt + half;
        if (!readsOutwards(arm.angle))
            std::swap(p, q);
        writePlainPoint(m_doc.coordinates, n.first, int(std::nearbyint(p.x() / kScale)), int(std::nearbyint(p.y() / kScale)));
        writePlainPoint(m_doc.coordinates, n.second, int(std::nearbyint(q.x() / kScale)), int(std::nearbyint(q.y() / kScale)));
        *placed = cellAt(bestAt);
        return true;
    }

    // The area the crossing may use: the picture less its margins and the
    // strips that the titles, totals, logo and north arrow take.
    QRectF allowedArea()
    {
        const GeneralVariables& g = m_doc.general;
        const double width = g.diagramwidth * kScale, height = g.diagramheight * kScale;
        QRectF area(QPointF(kEdgeMargin, kEdgeMargin), QPointF(width - kEdgeMargin, height - kEdgeMargin));
        const DrawnShapes furniture = draw(isFurniture);
        for (const QRectF& r : furniture.pieces) {
            // Backgrounds and frame sides run along the whole picture.
            if (r.width() > width / 2 || r.height() > height / 2)
                continue;
            if (r.center().y() < height / 2)
                area.setTop(std::max(area.top(), r.bottom() + kStripGap));
            else
                area.setBottom(std::min(area.bottom(), r.top() - kStripGap));
        }
        return area;
    }

    // The ring of a roundabout template moves with its centre: the arms
    // wizard turns it about the centre but never shifts it.
    void moveCentre(int dx, int dy)
    {
        m_cx += dx;
        m_cy += dy;
        writePlainPoint(m_doc.coordinates, m_doc.general.armcenter, m_cx, m_cy);
        for (const QString& name : m_ring) {
            int x, y;
            if (readPlainPoint(m_doc.coordinates, name, x, y))
                writePlainPoint(m_doc.coordinates, name, x + dx, y + dy);
        }
    }

    // The picture grows by dw, dh units; what stands in its right or bottom
    // half (frame sides, totals, the north arrow) moves with that edge.
    void grow(int dw, int dh)
    {
        GeneralVariables& g = m_doc.general;
        QSet<QString> own{g.armcenter};
        for (const Arm& a : m_arms)
            own << a.p1 << a.p2;
        for (const NameText& n : m_names)
            own << n.first << n.second;
        for (const QString& r : m_ring)
            own << r;
        for (const QString& line : QStringList(m_doc.coordinates)) {
            const QString name = line.left(4);
            int x, y;
            if (own.contains(name) || !readPlainPoint(m_doc.coordinates, name, x, y))
                continue;
            writePlainPoint(m_doc.coordinates, name, x > g.diagramwidth / 2 ? x + dw : x, y > g.diagramheight / 2 ? y + dh : y);
        }
        g.diagramwidth += dw;
        g.diagramheight += dh;
    }

    // How far one axis must change: a shift of the centre when the crossing
    // is small enough, else growth, else shorter arms.
    struct AxisFix {
        int shift = 0, grow = 0;
        double shortBy = 0;
    };
    AxisFix fixAxis(double lowOver, double highOver, double size, double room, int current, int maximum)
    {
        AxisFix fix;
        if (lowOver <= 0 && highOver <= 0)
            return fix;
        if (size <= room) {
            fix.shift = lowOver > 0 ? int(std::ceil(lowOver / kScale)) + 1 : -int(std::ceil(highOver / kScale)) - 1;
            return fix;
        }
        const int need = int(std::ceil((size - room) / kScale)) + 2;
        fix.grow = std::clamp(maximum - current, 0, need);
        if (fix.grow < need)
            fix.shortBy = (need - fix.grow) * kScale;
        return fix;
    }

    void fitIntoPicture(QRectF used)
    {
        GeneralVariables& g = m_doc.general;
        const int shortest = std::max(1, g.armdistp1p2 / 5);
        QRectF area = allowedArea();
        for (int round = 0; round < kFitRounds; ++round) {
            if (used.isNull() || area.isEmpty())
                return;
            const AxisFix x = fixAxis(area.left() - used.left(), used.right() - area.right(), used.width(),
                                      area.width(), g.diagramwidth, m_ctx.settings.maxDiagramWidth);
            const AxisFix y = fixAxis(area.top() - used.top(), used.bottom() - area.bottom(), used.height(),
                                      area.height(), g.diagramheight, m_ctx.settings.maxDiagramHeight);
            if (x.shift == 0 && y.shift == 0 && x.grow == 0 && y.grow == 0 && x.shortBy == 0 && y.shortBy == 0)
                return;
            if (x.grow || y.grow) {
                grow(x.grow, y.grow);
                area = allowedArea();
            }
            if (x.shift || y.shift)
                moveCentre(x.shift, y.shift);
            const double shortBy = std::max(x.shortBy, y.shortBy);
            if (shortBy > 0) {
                // The crossing reaches both ways: half the missing room off each arm.
                const int next = std::max(shortest, g.armdistp1p2 - int(std::ceil(shortBy / 2 / kScale)));
                if (next == g.armdistp1p2 && x.shift == 0 && y.shift == 0 && x.grow == 0 && y.grow == 0)
                    return;
                g.armdistp1p2 = next;
            }
            // The angles stay; the ring has moved with the centre already.
            placeArmPoints(m_doc, armsWizardLoad(m_doc), false);
            used = placeNames();
        }
    }

    DiagramDocument& m_doc;
    const ProgramContext& m_ctx;
    ProgramContext m_quiet;
    RecordingMessenger m_silence;
    TextMetrics m_metrics;
    QHash<int, Arm> m_arms;
    QList<NameText> m_names;
    QStringList m_ring;
    int m_cx = 0, m_cy = 0;
};

} // namespace

bool armsWizardFinish(DiagramDocument& doc, const ProgramContext& ctx) { return Finisher(doc, ctx).run(); }

} // namespace korvimo
