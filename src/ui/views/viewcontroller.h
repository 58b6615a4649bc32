#pragma once
// Drives the two views: the redraw they share (grid write-back, render,
// compose and overview drawing), zoom, pan, the pointer read-out and
// picking, the overlays and the light/dark preview, the scale field and the
// volume grid. The main window owns it and asks it for the state that the
// enabling of its commands depends on.
#include <QCursor>
#include <QObject>
#include <QPoint>
#include <functional>

namespace korvimo {

class DiagramDocument;
class DiagramRenderer;
class OpstellenPanel;
class OverzichtPanel;
class TZoomFactorForm;
struct ProgramContext;

enum class ViewKind { Overview, Compose };
enum class PanState { Idle, Armed, Dragging };

struct ViewState {
    ViewKind view = ViewKind::Overview;
    int overviewZoom = 100;
    int offsetX = 0;
    int offsetY = 0;
    int lastDrawnWidth = 0;
    int lastDrawnHeight = 0;
    int composeZoom = 1;
    PanState pan = PanState::Idle;
    QPoint dragStart;
    QPoint readout;
    bool coordinatePick = false;
    bool lightDarkPreview = false;
};

class ViewController final : public QObject {
    Q_OBJECT
public:
    ViewController(ProgramContext& ctx, DiagramDocument& doc, OverzichtPanel& overview, OpstellenPanel& compose,
                   QObject* parent = nullptr);

    void setRenderer(DiagramRenderer* renderer) { m_renderer = renderer; }
    DiagramRenderer* renderer() const { return m_renderer; }

    const ViewState& state() const { return m_state; }
    ViewState& state() { return m_state; }

    // The shared redraw (F9, the redraw button, every edit).
    void OpnieuwTekenen();
    void showOverview();
    void showCompose();
    void zoomIn(bool fromWheel = false);
    void zoomOut(bool fromWheel = false);
    // Zoom all of the overview, then (unless told not to) redraw. The resize
    // timer and every new diagram use it whichever view is current.
    void zoomAll(bool redraw = true);
    // The Zoom all command: the overview's, or in the compose view the
    // largest zoom at which the whole diagram fits, scrolled to its corner.
    void zoomAllCommand();
    // The highest compose zoom for the open diagram (composeZoomCeiling).
    int composeZoomCeiling() const;
    // Whether Zoom all and Zoom/pan exactly also serve the compose view.
    bool composeZoomExtended() const;
    void togglePan();
    void setPanIdle();
    // Opens the exact zoom dialog; OK stores its values and redraws. In the
    // compose view it shows the compose zoom in percent and the scroll
    // position in pixels.
    void panExactly(TZoomFactorForm& form);
    void toggleLightDark();
    void setLightDark(bool on);
    // The dark interface: the boxes around the drawings take the dark
    // scroll-area grey instead of the drawing's background.
    void setDarkScrollBoxes(bool on);

    // Document-level resets: after a new diagram and an open.
    void resetViewState();
    // Rebuilds the volume grid from the volume list and shows the overview.
    void rebuildVolumeGrid();
    // Puts `sfactor` into the scale field without marking anything changed.
    void SchaalEditUpdaten();
    // Mirrors the document's lists in the compose view's list boxes.
    void showDocumentLists();

    int gridDataRows() const;
    QPoint overviewPictureSize() const;

    // Hooks the later editors fill in: a click on a coordinate (the line's
    // index) and a position delivered in coordinate-pick mode.
    std::function<void(int line)> onCoordinateHit;
    std::function<void(QPoint position)> onCoordinatePicked;

Q_SIGNALS:
    // The enabling of the commands may have changed.
    void enablingChanged();
    void zoomAllPerformed();
    void redrawn();
    void panStateChanged(bool down);

private:
    void writeBackGrid();
    void drawCompose();
    void drawOverview();
    void scrollCompose(QPoint to);
    void applyBackground();
    void scaleTextChanged(const QString& text);
    void setPictureCursors();
    void startDrag(QPoint pos);
    void overviewPressed(Qt::MouseButton b, QPoint pos);
    void overviewReleased(Qt::MouseButton b, QPoint pos);
    void composePressed(Qt::MouseButton b, QPoint pos);
    void composeReleased(Qt::MouseButton b, QPoint pos);
    void composeMoved(QPoint pos);
    void markChanged();

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    OverzichtPanel& m_ov;
    OpstellenPanel& m_op;
    DiagramRenderer* m_renderer = nullptr;
    ViewState m_state;
    bool m_fillingScale = false;
    bool m_darkScrollBoxes = false;
};

} // namespace korvimo
