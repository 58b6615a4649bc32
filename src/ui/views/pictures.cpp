#include "ui/views/pictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace korvimo {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QImage PictureWidget::makeCanvas(QSize logicalSize) const
{
    const double ratio = devicePixelRatioF();
    QImage img(qMax(1, qRound(logicalSize.width() * ratio)), qMax(1, qRound(logicalSize.height() * ratio)),
               QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::white);
    return img;
}

void PictureWidget::setCanvas(QImage canvas)
{
    m_canvas = std::move(canvas);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_canvas.isNull())
        p.drawImage(QPoint(0, 0), m_canvas);
}

void PictureWidget::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(event->button(), event->position().toPoint());
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT released(event->button(), event->position().toPoint());
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) { Q_EMIT moved(event->position().toPoint()); }

void PictureWidget::wheelEvent(QWheelEvent* event)
{
    const int dy = event->angleDelta().y();
    if (dy != 0)
        Q_EMIT wheelTurned(dy > 0);
    event->accept();
}

void PictureWidget::enterEvent(QEnterEvent*) { Q_EMIT entered(); }

void PictureWidget::leaveEvent(QEvent*) { Q_EMIT left(); }

void PictureWidget::resizeEvent(QResizeEvent*) { Q_EMIT resized(); }

} // namespace korvimo
