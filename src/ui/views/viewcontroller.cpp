#include "ui/views/viewcontroller.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QFrame>
#include <new>

#include "output/bandedraster.h"

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "output/bandedraster.h"
#include "ui/uitext.h"
#include "ui/views/diagramrenderer.h"
#include "ui/views/opstellenpanel.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/pictures.h"
#include "ui/views/tzoomfactorform.h"
#include "ui/views/viewmath.h"
#include "ui/views/volumegrid.h"
#include "uikit/theme.h"
#include "uikit/busycursor.h"

namespace korvimo {

using uikit::BusyCursor;

constexpr qint64 kMaxScreenBandPixels = qint64(3) << 20;

ViewController::ViewController(ProgramContext& ctx, DiagramDocument& doc, OverzichtPanel& overview,
                               OpstellenPanel& compose, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_doc(doc), m_ov(overview), m_op(compose)
{
    PictureWidget* ovPic = m_ov.picture();
    PictureWidget* opPic = m_op.picture();
    connect(ovPic, &PictureWidget::pressed, this, &ViewController::overviewPressed);
    connect(ovPic, &PictureWidget::released, this, &ViewController::overviewReleased);
    connect(ovPic, &PictureWidget::wheelTurned, this, [this](bool up) {
        if (up)
            zoomIn(true);
        else
            zoomOut(true);
    });
    // The wheel zooms while the pointer is over the picture; leaving it
    // gives the keys back to the grid.
    connect(ovPic, &PictureWidget::entered, this, [this] { m_ov.scrollBox()->setFocus(); });
    connect(ovPic, &PictureWidget::left, this, [this] {
        if (m_ov.grid()->isVisible())
            m_ov.grid()->setFocus();
    });
    connect(opPic, &PictureWidget::pressed, this, &ViewController::composePressed);
    connect(opPic, &PictureWidget::released, this, &ViewController::composeReleased);
    connect(opPic, &PictureWidget::moved, this, &ViewController::composeMoved);

    connect(m_ov.redrawButton(), &QPushButton::clicked, this, &ViewController::OpnieuwTekenen);
    connect(m_ov.schaalEdit(), &QSpinBox::textChanged, this, &ViewController::scaleTextChanged);
    connect(m_ov.schaalEdit(), &ScaleEdit::enterPressed, this, [this] {
        if (m_ctx.settings.autoRedrawScale)
            OpnieuwTekenen();
    });
    connect(m_ov.testPolyCheckBox(), &QCheckBox::toggled, this, [this](bool on) {
        m_ctx.view.testPolyDrawing = on;
        OpnieuwTekenen();
    });
    connect(m_ov.grid(), &VolumeGrid::editorOpened, this, &ViewController::markChanged);
    connect(m_ov.grid(), &VolumeGrid::enterPressed, this, &ViewController::OpnieuwTekenen);
    applyBackground();
}

void ViewController::markChanged()
{
    m_doc.markChanged();
    Q_EMIT enablingChanged();
}

int ViewController::gridDataRows() const { return m_ov.grid()->dataRowCount(); }

QPoint ViewController::overviewPictureSize() const
{
    return QPoint(m_ov.picture()->width(), m_ov.picture()->height());
}

void ViewController::writeBackGrid()
{
    VolumeGrid* grid = m_ov.grid();
    if (grid->dataRowCount() > 0) {
        writeBackVolumeGrid(grid->rows(), &m_doc.intensities);
        // In the compose view the lists are edited directly; stale grid rows
        // must not overwrite them on the next redraw.
        if (m_state.view == ViewKind::Compose)
            grid->setRows({});
    }
}

void ViewController::OpnieuwTekenen()
{
    BusyCursor busy;
    writeBackGrid();
    if (m_ctx.runAsServer)
        return;
    applyBackground();
    if (m_renderer)
        m_renderer->render(m_doc, m_ctx);
    if (m_state.view == ViewKind::Compose) {
        showDocumentLists();
        drawCompose();
    } else {
        drawOverview();
    }
    Q_EMIT redrawn();
}

void ViewController::drawCompose()
{
    const QSize meta = m_renderer ? m_renderer->metaSize()
                                  : QSize(m_doc.general.diagramwidth * 10, m_doc.general.diagramheight * 10);
    const int z = m_state.composeZoom;
    const QSize size(qMax(1, roundEven(meta.width() / 10.0 * z)), qMax(1, roundEven(meta.height() / 10.0 * z)));
    PictureWidget* pic = m_op.picture();
    pic->resize(size);
    try {
        QImage canvas = pic->makeCanvas(size);
        if (canvas.isNull())
            throw std::bad_alloc();
        canvas.fill(uikit::fromWindowsColor(m_ctx.view.drawingBackground));
        QPainter p(&canvas);
        if (m_renderer)
            m_renderer->play(p, QRect(QPoint(0, 0), size));
        p.end();
        pic->setCanvas(std::move(canvas));
    } catch (const std::bad_alloc&) {
        m_ctx.messages().warning(
            uiText(m_ctx.texts, "AA00010",
                   QStringLiteral("Onvoldoende geheugen voor optimale werking. Sluit 1 of meerdere programma's "
                                  "af en start %s opnieuw. Of verklein via de instellingen de maximale "
                                  "diagramgrootte."))
                .replace(QStringLiteral("%s"), QString::fromLatin1(kProgramName)));
    }
}

void ViewController::drawOverview()
{
    PictureWidget* pic = m_ov.picture();
    const QSize meta = m_renderer ? m_renderer->metaSize()
                                  : QSize(m_doc.general.diagramwidth * 10, m_doc.general.diagramheight * 10);
    const double w = meta.width() / 10.0 * m_state.overviewZoom / 100.0;
    const double h = meta.height() / 10.0 * m_state.overviewZoom / 100.0;

    // Method 3's reduction is always there, so it never falls back to 1.
    int& method = m_ctx.settings.drawMethodScreen;
    if (method < 1 || method > 3)
        method = 1;

    m_state.offsetX += keepCentreShift(m_state.lastDrawnWidth, w);
    m_state.offsetY += keepCentreShift(m_state.lastDrawnHeight, h);
    const int ox = m_state.offsetX;
    const int oy = m_state.offsetY;
    const QRect target(QPoint(ox, oy), QPoint(roundEven(w + ox) - 1, roundEven(h + oy) - 1));
    const QColor bg = uikit::fromWindowsColor(m_ctx.view.drawingBackground);
    const QSize size = pic->size();

    QImage canvas = pic->makeCanvas(size);
    if (method == 1) {
        canvas.fill(bg);
        QPainter p(&canvas);
        if (m_renderer && target.width() > 0 && target.height() > 0)
            m_renderer->play(p, target);
    } else {
        // Three-fold supersampling, then reduced to the picture's pixels, in
        // bands over the machine's cores. Method 3 stands for the system's
        // thumbnail reduction: Qt's own smooth scaling.
        const double ratio = canvas.devicePixelRatio();
        const QSize big = canvas.size() * 3;
        const bool drawn = m_renderer && target.width() > 0 && target.height() > 0;
        const int lanes =
            drawn ? std::min(m_renderer->playLanes(), bandLanesFor(qint64(big.width()) * big.height())) : 1;
        QImage reduced = drawSupersampledInBands(
            big, canvas.size(), bg, method == 2 ? BandReduction::AreaAverage : BandReduction::QtSmooth, lanes,
            [&](QPainter& p, int lane) {
                p.scale(3 * ratio, 3 * ratio);
                if (drawn)
                    m_renderer->playInLane(p, target, lane);
            },
            // Every band replays the whole drawing, so one band a lane; but
            // no band over 3 M pixels, where Qt's smooth scaling gets several
            // times slower per pixel.
            std::min<qint64>((qint64(big.width()) * big.height() + lanes - 1) / lanes, kMaxScreenBandPixels));
        if (!reduced.isNull()) {
            canvas = std::move(reduced);
            canvas.setDevicePixelRatio(ratio);
        }
    }
    pic->setCanvas(std::move(canvas));
    m_state.lastDrawnWidth = roundEven(w);
    m_state.lastDrawnHeight = roundEven(h);
}

void ViewController::applyBackground()
{
    m_ctx.view.drawingBackground = m_state.lightDarkPreview ? m_ctx.settings.drawingBgDarkColor : 0xFFFFFF;
    const QColor bg = uikit::fromWindowsColor(m_ctx.view.drawingBackground);
    // The drawings take the background colour; so do their boxes, except in
    // the dark interface, whose scroll boxes have their own grey around the
    // drawing.
    const QColor box = m_darkScrollBoxes ? uikit::fromWindowsColor(uikit::dark::kScrollArea) : bg;
    QList<std::pair<QWidget*, QColor>> parts{{m_ov.scrollBox(), box},
                                            {m_ov.picture(), bg},
                                            {m_op.scrollBox()->viewport(), box},
                                            {m_op.picture(), bg}};
    if (m_darkScrollBoxes)
        parts.append({m_op.scrollBox(), box});
    for (const auto& [w, colour] : parts) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, colour);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
}

void ViewController::setDarkScrollBoxes(bool on)
{
    m_darkScrollBoxes = on;
    applyBackground();
}

void ViewController::showOverview()
{
    rebuildVolumeGrid();
    OpnieuwTekenen();
    if (m_ov.grid()->isVisible())
        m_ov.grid()->setFocus();
}

void ViewController::showCompose()
{
    m_state.view = ViewKind::Compose;
    // Hidden first: showing a panel lays out its parent at once, and with
    // both visible each would get half of the room.
    m_ov.setVisible(false);
    m_op.setVisible(true);
    showDocumentLists();
    Q_EMIT enablingChanged();
    OpnieuwTekenen();
}

void ViewController::zoomIn(bool fromWheel)
{
    if (m_state.view == ViewKind::Overview)
        m_state.overviewZoom =
            zoomedOverview(m_state.overviewZoom, zoomStep(m_ctx.settings.zoomInOutValue, fromWheel), true);
    else
        m_state.composeZoom = composeZoomedIn(m_state.composeZoom, composeZoomCeiling());
    Q_EMIT enablingChanged();
    OpnieuwTekenen();
}

void ViewController::zoomOut(bool fromWheel)
{
    if (m_state.view == ViewKind::Overview)
        m_state.overviewZoom =
            zoomedOverview(m_state.overviewZoom, zoomStep(m_ctx.settings.zoomInOutValue, fromWheel), false);
    else
        m_state.composeZoom = composeZoomedOut(m_state.composeZoom);
    Q_EMIT enablingChanged();
    OpnieuwTekenen();
}

void ViewController::zoomAll(bool redraw)
{
    m_state.offsetX = m_state.offsetY = 0;
    m_state.overviewZoom = 100;
    m_state.lastDrawnWidth = m_state.lastDrawnHeight = 0;
    GeneralVariables& g = m_doc.general;
    if (g.diagramwidth == 0)
        g.diagramwidth = 500;
    if (g.diagramheight == 0)
        g.diagramheight = 500;
    const QPoint size = overviewPictureSize();
    m_state.overviewZoom = zoomAllPercent(size.x(), size.y(), g.diagramwidth, g.diagramheight);
    Q_EMIT zoomAllPerformed();
    if (redraw)
        OpnieuwTekenen();
}

int ViewController::composeZoomCeiling() const
{
    return korvimo::composeZoomCeiling(composeZoomExtended(), m_doc.general.diagramwidth,
                                       m_doc.general.diagramheight);
}

bool ViewController::composeZoomExtended() const { return m_ctx.settings.composeZoomExtended; }

void ViewController::zoomAllCommand()
{
    if (m_state.view == ViewKind::Overview) {
        zoomAll();
        return;
    }
    if (!composeZoomExtended())
        return;
    const QSize viewport = m_op.scrollBox()->viewport()->size();
    m_state.composeZoom = composeZoomAll(viewport.width(), viewport.height(), m_doc.general.diagramwidth,
                                         m_doc.general.diagramheight, composeZoomCeiling());
    Q_EMIT enablingChanged();
    OpnieuwTekenen();
    scrollCompose(QPoint(0, 0));
}

void ViewController::scrollCompose(QPoint to)
{
    QScrollArea* box = m_op.scrollBox();
    box->horizontalScrollBar()->setValue(to.x());
    box->verticalScrollBar()->setValue(to.y());
}

void ViewController::setPictureCursors()
{
    const bool panning = m_state.pan != PanState::Idle;
    m_ov.picture()->setCursor(panning ? Qt::SizeAllCursor : Qt::ArrowCursor);
    m_op.picture()->setCursor(panning                    ? Qt::SizeAllCursor
                              : m_state.coordinatePick ? Qt::CrossCursor
                                                       : Qt::ArrowCursor);
    Q_EMIT panStateChanged(panning);
}

void ViewController::togglePan()
{
    m_state.pan = m_state.pan == PanState::Idle ? PanState::Armed : PanState::Idle;
    setPictureCursors();
}

void ViewController::setPanIdle()
{
    m_state.pan = PanState::Idle;
    setPictureCursors();
}

void ViewController::startDrag(QPoint pos)
{
    m_state.pan = PanState::Dragging;
    m_state.dragStart = pos;
    setPictureCursors();
}

void ViewController::overviewPressed(Qt::MouseButton b, QPoint pos)
{
    if (b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton)
        startDrag(pos);
}

void ViewController::overviewReleased(Qt::MouseButton b, QPoint pos)
{
    if (m_state.pan == PanState::Dragging) {
        m_state.offsetX += pos.x() - m_state.dragStart.x();
        m_state.offsetY += pos.y() - m_state.dragStart.y();
        setPanIdle();
        OpnieuwTekenen();
    } else if (m_state.pan == PanState::Idle
               && (b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton)) {
        togglePan();
    }
}

void ViewController::composePressed(Qt::MouseButton b, QPoint pos)
{
    if (b == Qt::RightButton || b == Qt::MiddleButton || m_state.pan == PanState::Armed)
        startDrag(pos);
}

void ViewController::composeReleased(Qt::MouseButton b, QPoint pos)
{
    if (m_state.coordinatePick && b == Qt::LeftButton) {
        PictureWidget* pic = m_op.picture();
        {
            QPainter p(&pic->canvasForPainting());
            p.setPen(QPen(QColor(255, 0, 0), 1));
            p.setBrush(QColor(255, 185, 185));
            const int r = 3 * m_state.composeZoom;
            p.drawEllipse(pos, r, r);
        }
        pic->update();
        QApplication::processEvents();
        if (onCoordinatePicked)
            onCoordinatePicked(m_state.readout);
    } else if (m_state.pan == PanState::Idle && !m_state.coordinatePick
               && (b == Qt::LeftButton || b == Qt::MiddleButton)) {
        BusyCursor busy;
        QString error;
        const int hit = pickCoordinate(m_doc.coordinates, pos, m_state.composeZoom, &error);
        if (!error.isEmpty()) {
            m_ctx.messages().error(error);
        } else if (hit >= 0) {
            m_op.coordsList()->setCurrentRow(hit);
            if (onCoordinateHit)
                onCoordinateHit(hit);
        }
    } else if (b == Qt::RightButton && m_state.pan == PanState::Idle) {
        togglePan();
    }
    if (m_state.pan == PanState::Dragging) {
        QScrollArea* box = m_op.scrollBox();
        box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->value() + m_state.dragStart.x() - pos.x());
        box->verticalScrollBar()->setValue(box->verticalScrollBar()->value() + m_state.dragStart.y() - pos.y());
        setPanIdle();
    }
}

void ViewController::composeMoved(QPoint pos)
{
    m_state.readout = pointerReadout(pos, &m_state.composeZoom, &m_ctx.settings.coordsInterval,
                                     m_doc.general.diagramwidth, m_doc.general.diagramheight);
    m_op.coordsLabel()->setText(QStringLiteral("%1,%2").arg(m_state.readout.x()).arg(m_state.readout.y()));
}

void ViewController::panExactly(TZoomFactorForm& form)
{
    if (m_state.view == ViewKind::Compose) {
        if (!composeZoomExtended())
            return;
        QScrollArea* box = m_op.scrollBox();
        form.setValues(m_state.composeZoom * 100, box->horizontalScrollBar()->value(),
                       box->verticalScrollBar()->value());
        if (form.exec() != QDialog::Accepted)
            return;
        // Whole pixels per diagram unit only: the nearest one allowed.
        m_state.composeZoom = qBound(1, roundEven(form.zoom() / 100.0), composeZoomCeiling());
        Q_EMIT enablingChanged();
        OpnieuwTekenen();
        scrollCompose(QPoint(form.offsetX(), form.offsetY()));
        return;
    }
    form.setValues(m_state.overviewZoom, m_state.offsetX, m_state.offsetY);
    if (form.exec() != QDialog::Accepted)
        return;
    // A negative zoom would mirror the drawing; the overview zoom is never
    // below 0.
    m_state.overviewZoom = qMax(0, form.zoom());
    m_state.offsetX = form.offsetX();
    m_state.offsetY = form.offsetY();
    // The typed offsets are where the drawing goes: no centre correction.
    m_state.lastDrawnWidth = m_state.lastDrawnHeight = 0;
    OpnieuwTekenen();
}

void ViewController::toggleLightDark() { setLightDark(!m_state.lightDarkPreview); }

void ViewController::setLightDark(bool on)
{
    m_state.lightDarkPreview = on;
    applyBackground();
    OpnieuwTekenen();
}

void ViewController::resetViewState()
{
    m_state.overviewZoom = 100;
    m_state.offsetX = m_state.offsetY = 0;
    m_state.lastDrawnWidth = m_state.lastDrawnHeight = 0;
    m_state.composeZoom = 1;
    setPanIdle();
}

void ViewController::rebuildVolumeGrid()
{
    BusyCursor busy;
    m_ov.setHeaderTexts(uiText(m_ctx.texts, "AA00008", QStringLiteral("Richting")),
                        uiText(m_ctx.texts, "AA00009", QStringLiteral("Intensiteit")));
    const QList<GridRow> rows = volumeGridRows(m_doc.intensities);
    m_ov.grid()->setRows(rows);
    m_ov.grid()->setVisible(!rows.isEmpty());
    SchaalEditUpdaten();
    m_state.view = ViewKind::Overview;
    // Hidden first: with both panels visible for a moment the overview
    // would be laid out at half its height and drawn at that size.
    m_op.setVisible(false);
    m_ov.setVisible(true);
    Q_EMIT enablingChanged();
}

void ViewController::SchaalEditUpdaten()
{
    m_fillingScale = true;
    ScaleEdit* edit = m_ov.schaalEdit();
    edit->setValue(m_doc.general.sfactor);
    edit->setSingleStep(scaleStep(m_doc.general.sfactor));
    m_fillingScale = false;
}

void ViewController::scaleTextChanged(const QString& text)
{
    if (m_fillingScale)
        return;
    int value = 0;
    if (!scaleFromText(text, &value))
        return;
    m_ov.schaalEdit()->setSingleStep(scaleStep(value));
    if (value != m_doc.general.sfactor) {
        m_doc.general.sfactor = value;
        markChanged();
        if (m_ctx.settings.autoRedrawScale)
            OpnieuwTekenen();
    }
}

void ViewController::showDocumentLists()
{
    m_op.showLists(m_doc.script, m_doc.coordinates, m_doc.intensities);
}

} // namespace korvimo
