#include "uikit/icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace korvimo::uikit {

namespace {

using Draw = std::function<void(QPainter&)>;

// Colours of the set: one ink, one paper, a few accents.
// The ink follows the interface: dark lines on light tool bars, light
// lines on the dark ones.
QColor inkColour()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128 ? QColor(0xDC, 0xDC, 0xDC)
                                                                                : QColor(0x33, 0x3B, 0x47);
}
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2F, 0x7D, 0xD1);
const QColor kGreen(0x3C, 0xA5, 0x5C);
const QColor kRed(0xD9, 0x3F, 0x3F);
const QColor kYellow(0xF2, 0xB8, 0x25);

QPen ink(double w = 1.5) { return QPen(inkColour(), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void sheet(QPainter& p, double x = 5, double y = 3, double w = 14, double h = 18)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w - 4, y);
    path.lineTo(x + w, y + 4);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawPath(path);
}

void magnifier(QPainter& p)
{
    p.setPen(ink(2));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(inkColour(), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double w = 2)
{
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QLineF l(to, from);
    QLineF a = l;
    a.setLength(4);
    a.setAngle(l.angle() + 35);
    QLineF b = l;
    b.setLength(4);
    b.setAngle(l.angle() - 35);
    p.drawLine(a);
    p.drawLine(b);
}

// A small flow diagram: the program's own picture.
void flowDiagram(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5E, 0x6B, 0x7A));
    p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
    p.setBrush(QColor(0x8A, 0x96, 0xA3));
    p.drawRect(QRectF(9, 1, 6, 22));
    p.drawRect(QRectF(1, 9, 22, 6));
    QPen band(kYellow, 2.4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    p.setBrush(Qt::NoBrush);
    p.setPen(band);
    QPainterPath turn;
    turn.moveTo(13.5, 23);
    turn.cubicTo(13.5, 15, 15, 13.5, 23, 13.5);
    p.drawPath(turn);
    band.setColor(QColor(0x7F, 0xD8, 0x8E));
    p.setPen(band);
    p.drawLine(QPointF(10.5, 23), QPointF(10.5, 4));
    band.setColor(QColor(0x66, 0xCD, 0xFF));
    p.setPen(band);
    QPainterPath left;
    left.moveTo(1, 10.5);
    left.cubicTo(8, 10.5, 10.5, 8, 10.5, 1);
    p.drawPath(left);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7F, 0xD8, 0x8E));
    p.drawPolygon(QPolygonF({QPointF(7.5, 5), QPointF(13.5, 5), QPointF(10.5, 1.2)}));
}

const std::map<QString, Draw>& drawings()
{
    static const std::map<QString, Draw> table = {
        {QStringLiteral("new"), [](QPainter& p) {
             sheet(p);
             p.setPen(QPen(kYellow, 2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(17, 14), QPointF(17, 22));
             p.drawLine(QPointF(13, 18), QPointF(21, 18));
         }},
        {QStringLiteral("open"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kYellow.lighter(130));
             p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(20, 8),
                                      QPointF(20, 19), QPointF(2, 19)}));
             p.setBrush(kYellow);
             p.drawPolygon(QPolygonF({QPointF(2, 19), QPointF(6, 11), QPointF(23, 11), QPointF(20, 19)}));
         }},
        {QStringLiteral("save"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kBlue);
             p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
             p.setBrush(kPaper);
             p.drawRect(QRectF(7, 3, 10, 7));
             p.setBrush(kBlue.lighter(150));
             p.drawRect(QRectF(6, 13, 12, 8));
         }},
        {QStringLiteral("close"), [](QPainter& p) {
             sheet(p);
             p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(9, 10), QPointF(15, 16));
             p.drawLine(QPointF(15, 10), QPointF(9, 16));
         }},
        {QStringLiteral("export"), [](QPainter& p) {
             sheet(p, 3, 3, 13, 18);
             arrow(p, QPointF(9, 13), QPointF(22, 13), kGreen, 2.2);
         }},
        {QStringLiteral("print"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kPaper);
             p.drawRect(QRectF(7, 2, 10, 7));
             p.setBrush(QColor(0xB8, 0xC2, 0xCC));
             p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
             p.setBrush(kPaper);
             p.drawRect(QRectF(7, 15, 10, 7));
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             p.drawEllipse(QPointF(18.5, 12), 1.2, 1.2);
         }},
        {QStringLiteral("copydiagram"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kPaper);
             p.drawRect(QRectF(2, 2, 13, 15));
             p.save();
             p.translate(8, 7);
             p.scale(0.6, 0.6);
             flowDiagram(p);
             p.restore();
         }},
        {QStringLiteral("arms"), [](QPainter& p) {
             p.setPen(QPen(inkColour(), 2.5, Qt::SolidLine, Qt::RoundCap));
             const QPointF c(12, 12);
             for (double a : {20.0, 110.0, 200.0, 290.0}) {
                 QLineF l(c, c + QPointF(10, 0));
                 l.setAngle(a);
                 p.drawLine(l);
             }
             p.setPen(ink());
             p.setBrush(kYellow);
             p.drawEllipse(c, 3.5, 3.5);
         }},
        {QStringLiteral("format"), [](QPainter& p) {
             p.setPen(ink());
             const QColor colours[] = {kRed, kYellow, kGreen, kBlue};
             for (int i = 0; i < 4; ++i) {
                 p.setBrush(colours[i]);
                 p.drawRect(QRectF(3 + (i % 2) * 9.5, 3 + (i / 2) * 9.5, 8, 8));
             }
         }},
        {QStringLiteral("texts"), [](QPainter& p) {
             p.setPen(QPen(inkColour(), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF({QPointF(4, 20), QPointF(10, 4), QPointF(16, 20)}));
             p.drawLine(QPointF(6.5, 14), QPointF(13.5, 14));
             p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(18, 10), QPointF(22, 10));
             p.drawLine(QPointF(18, 15), QPointF(22, 15));
             p.drawLine(QPointF(18, 20), QPointF(22, 20));
         }},
        {QStringLiteral("overview"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kPaper);
             p.drawRect(QRectF(2, 3, 20, 18));
             p.setBrush(QColor(0xB8, 0xC2, 0xCC));
             p.drawRect(QRectF(2, 3, 6, 18));
             p.save();
             p.translate(9.5, 6.5);
             p.scale(0.5, 0.5);
             flowDiagram(p);
             p.restore();
         }},
        {QStringLiteral("compose"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kPaper);
             p.drawRect(QRectF(2, 3, 20, 18));
             p.setPen(QPen(inkColour(), 1.4, Qt::SolidLine, Qt::RoundCap));
             for (int i = 0; i < 4; ++i)
                 p.drawLine(QPointF(5, 7 + i * 3.5), QPointF(12, 7 + i * 3.5));
             p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(15, 18), QPointF(20, 7));
             p.setPen(Qt::NoPen);
             p.setBrush(kYellow);
             p.drawEllipse(QPointF(20, 7), 1.6, 1.6);
         }},
        {QStringLiteral("zoomin"), [](QPainter& p) {
             magnifier(p);
             p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(7, 10), QPointF(13, 10));
             p.drawLine(QPointF(10, 7), QPointF(10, 13));
         }},
        {QStringLiteral("zoomout"), [](QPainter& p) {
             magnifier(p);
             p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(7, 10), QPointF(13, 10));
         }},
        {QStringLiteral("zoomall"), [](QPainter& p) {
             magnifier(p);
             p.setPen(QPen(kBlue, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(7, 7, 6, 6));
         }},
        {QStringLiteral("pan"), [](QPainter& p) {
             const QPointF c(12, 12);
             arrow(p, c, QPointF(12, 2.5), inkColour());
             arrow(p, c, QPointF(12, 21.5), inkColour());
             arrow(p, c, QPointF(2.5, 12), inkColour());
             arrow(p, c, QPointF(21.5, 12), inkColour());
         }},
        {QStringLiteral("lightdark"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kPaper);
             p.drawEllipse(QPointF(12, 12), 9, 9);
             QPainterPath half;
             half.moveTo(12, 3);
             half.arcTo(QRectF(3, 3, 18, 18), 90, 180);
             half.closeSubpath();
             p.setBrush(QColor(0x50, 0x50, 0x50));
             p.drawPath(half);
         }},
        {QStringLiteral("coordinates"), [](QPainter& p) {
             p.setPen(QPen(inkColour(), 1, Qt::DotLine));
             p.drawLine(QPointF(3, 12), QPointF(21, 12));
             p.drawLine(QPointF(12, 3), QPointF(12, 21));
             p.setPen(ink(1.2));
             p.setBrush(kRed);
             p.drawEllipse(QPointF(7, 7), 2.5, 2.5);
             p.setBrush(kBlue);
             p.drawEllipse(QPointF(17, 9), 2.5, 2.5);
             p.setBrush(kGreen);
             p.drawEllipse(QPointF(10, 18), 2.5, 2.5);
         }},
        {QStringLiteral("help"), [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kBlue);
             p.drawEllipse(QPointF(12, 12), 10, 10);
             p.setPen(QPen(kPaper, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::NoBrush);
             QPainterPath q;
             q.moveTo(8.5, 9);
             q.cubicTo(8.5, 4.5, 15.5, 4.5, 15.5, 9);
             q.cubicTo(15.5, 12, 12, 11.5, 12, 14.5);
             p.drawPath(q);
             p.setPen(Qt::NoPen);
             p.setBrush(kPaper);
             p.drawEllipse(QPointF(12, 18.3), 1.6, 1.6);
         }},
        {QStringLiteral("internet"), [](QPainter& p) {
             p.setPen(QPen(kBlue, 1.5));
             p.setBrush(kBlue.lighter(170));
             p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(12, 12), 4, 9.5);
             p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
             p.drawLine(QPointF(4, 7), QPointF(20, 7));
             p.drawLine(QPointF(4, 17), QPointF(20, 17));
         }},
        {QStringLiteral("server"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(QColor(0xB8, 0xC2, 0xCC));
             p.drawRoundedRect(QRectF(4, 3, 16, 7), 1.5, 1.5);
             p.drawRoundedRect(QRectF(4, 13, 16, 7), 1.5, 1.5);
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             p.drawEllipse(QPointF(16.5, 6.5), 1.3, 1.3);
             p.drawEllipse(QPointF(16.5, 16.5), 1.3, 1.3);
         }},
        {QStringLiteral("add"), [](QPainter& p) {
             p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(12, 4), QPointF(12, 20));
             p.drawLine(QPointF(4, 12), QPointF(20, 12));
         }},
        {QStringLiteral("change"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(kYellow);
             p.drawPolygon(QPolygonF({QPointF(4, 20), QPointF(5, 15), QPointF(16, 4), QPointF(20, 8),
                                      QPointF(9, 19)}));
             p.drawLine(QPointF(5, 15), QPointF(9, 19));
         }},
        {QStringLiteral("delete"), [](QPainter& p) {
             p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5, 5), QPointF(19, 19));
             p.drawLine(QPointF(19, 5), QPointF(5, 19));
         }},
        {QStringLiteral("copy"), [](QPainter& p) {
             sheet(p, 3, 2, 12, 15);
             sheet(p, 9, 7, 12, 15);
         }},
        {QStringLiteral("paste"), [](QPainter& p) {
             p.setPen(ink());
             p.setBrush(QColor(0xC8, 0x9A, 0x5A));
             p.drawRoundedRect(QRectF(3, 4, 14, 17), 1.5, 1.5);
             p.setBrush(QColor(0xB8, 0xC2, 0xCC));
             p.drawRect(QRectF(7, 2, 6, 4));
             sheet(p, 10, 9, 11, 13);
         }},
        {QStringLiteral("program"), [](QPainter& p) { flowDiagram(p); }},
    };
    return table;
}

class VectorIconEngine final : public QIconEngine {
public:
    explicit VectorIconEngine(Draw draw) : m_draw(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 24.0, rect.height() / 24.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        m_draw(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        if (size.isEmpty())
            return QPixmap();
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine* clone() const override { return new VectorIconEngine(m_draw); }

private:
    Draw m_draw;
};

} // namespace

QIcon programIcon(const QString& name)
{
    const auto& table = drawings();
    const auto it = table.find(name);
    if (it == table.end())
        return QIcon();
    return QIcon(new VectorIconEngine(it->second));
}

QStringList iconNames()
{
    QStringList names;
    for (const auto& [name, draw] : drawings())
        names << name;
    return names;
}

} // namespace korvimo::uikit
