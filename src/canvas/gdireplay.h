#pragma once
// The device-context state that EMF and WMF records change, shared by the
// two readers: object table, mapping from logical to reference units, text
// alignment, saved states. Drawing calls arrive in logical units and leave
// as MetaCanvas calls in metafile units. Not for use outside canvas/.
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <map>
#include <optional>
#include <vector>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"

namespace korvimo::metafile_detail {

class GdiReplay {
public:
    enum class ObjectKind { Pen, Brush, Font, Other };
    struct Object {
        ObjectKind kind = ObjectKind::Other;
        PenSpec pen;
        BrushSpec brush;
        FontSpec font; // colour unused: text colour is separate state
    };

    // Map modes, as numbered in the files.
    enum MapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

    explicit GdiReplay(Metafile& out);

    // Device pixels to metafile units: ref = device × scale − offset.
    void setDeviceToReference(double scaleX, double scaleY, double offsetX, double offsetY,
                              double deviceMillimetresX, double deviceMillimetresY);
    // For placeable WMFs: the window is mapped onto the whole picture,
    // whatever map mode the file sets.
    void setWindowIsPicture(double width, double height)
    {
        m_windowIsPicture = true;
        m_picture = {width, height};
    }

    void setMapMode(int mode) { m_state.mapMode = mode; }
    void setWindowOrg(double x, double y) { m_state.windowOrg = {x, y}; }
    void setWindowExt(double x, double y);
    void setViewportOrg(double x, double y) { m_state.viewportOrg = {x, y}; }
    void setViewportExt(double x, double y);
    // Row-major 2 × 3 world transform: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
    struct Xform {
        double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    };
    void setWorldTransform(const Xform& x) { m_state.world = x; }
    void modifyWorldTransform(const Xform& x, int mode);

    void setBkMode(int mode) { m_state.bkMode = mode; }
    void setBkColor(int color) { m_state.bkColor = color; }
    void setTextColor(int color) { m_state.textColor = color; }
    void setTextAlign(int align) { m_state.textAlign = align; }
    void setArcDirection(int direction) { m_state.arcClockwise = direction == 2; }

    void saveDc();
    void restoreDc(int relative);

    // Objects. Stock objects (high bit set) are known by number.
    void createObject(uint32_t handle, const Object& object);
    // WMF style: the object takes the lowest free slot.
    void createObjectInFreeSlot(const Object& object);
    void selectObject(uint32_t handle);
    void deleteObject(uint32_t handle);

    // Drawing, in logical units.
    void moveTo(double x, double y);
    void lineTo(double x, double y);
    void polyline(const QList<QPointF>& points);
    void polygon(const QList<QPointF>& points);
    void polyBezier(const QList<QPointF>& points);
    void polylineTo(const QList<QPointF>& points);
    void polyBezierTo(const QList<QPointF>& points);
    void arc(double l, double t, double r, double b, QPointF start, QPointF end);
    void ellipse(double l, double t, double r, double b);
    void rectangle(double l, double t, double r, double b);
    // advanceSum: the sum of the file's character advances in logical
    // units, when it gives them (used for right and centre alignment).
    void text(QPointF reference, const QString& text, std::optional<double> advanceSum);
    void image(double x, double y, double w, double h, const QImage& image);

    // Paths: figures between begin and end are collected and drawn by
    // fill/stroke.
    void beginPath();
    void endPath() { m_pathOpen = false; }
    bool inPath() const { return m_pathOpen; }
    void closeFigure();
    void abortPath();
    void fillPath() { drawPath(true, false); }
    void strokePath() { drawPath(false, true); }
    void strokeAndFillPath() { drawPath(true, true); }

private:
    struct State {
        int mapMode = Text;
        QPointF windowOrg{0, 0}, windowExt{1, 1}, viewportOrg{0, 0}, viewportExt{1, 1};
        Xform world;
        int bkMode = 2; // opaque, as GDI starts
        int bkColor = 0xFFFFFF;
        int textColor = 0;
        int textAlign = 0;
        bool arcClockwise = false;
        PenSpec pen;
        BrushSpec brush;
        FontSpec font;
        QPointF position; // logical
    };

    QPoint map(QPointF logical) const;
    QPointF mapF(QPointF logical) const;
    double lengthScaleX() const;
    double lengthScaleY() const;
    int mapLength(double length, double scale) const;
    std::optional<Object> stockObject(uint32_t handle) const;
    void applyPen();
    void applyBrush();
    void applyFont();
    void drawPath(bool fill, bool stroke);

    Metafile& m_out;
    MetaCanvas m_canvas;
    State m_state;
    std::vector<State> m_saved;
    std::map<uint32_t, Object> m_objects;
    double m_scaleX = 1, m_scaleY = 1, m_offsetX = 0, m_offsetY = 0;
    double m_devMmX = 96.0 / 25.4, m_devMmY = 96.0 / 25.4; // device pixels per millimetre
    bool m_windowIsPicture = false;
    QPointF m_picture;

    bool m_pathOpen = false;
    QPainterPath m_path; // logical units
};

} // namespace korvimo::metafile_detail
