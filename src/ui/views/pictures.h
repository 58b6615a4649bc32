#pragma once
// The two drawing surfaces: the overview picture `OvImage` and the compose
// picture `OpImage`. Each holds the bitmap of the last redraw and reports
// the pointer to whoever drives it; neither knows what a diagram is.
#include <QImage>
#include <QWidget>

namespace korvimo {

class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);

    // A blank canvas of the widget's (or the given) size in logical pixels
    // at the screen's pixel ratio; the caller paints it and hands it back.
    QImage makeCanvas(QSize logicalSize) const;
    void setCanvas(QImage canvas);
    const QImage& canvas() const { return m_canvas; }
    QImage& canvasForPainting() { return m_canvas; }

Q_SIGNALS:
    void pressed(Qt::MouseButton button, QPoint pos);
    void released(Qt::MouseButton button, QPoint pos);
    void moved(QPoint pos);
    void wheelTurned(bool up);
    void entered();
    void left();
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_canvas;
};

} // namespace korvimo
