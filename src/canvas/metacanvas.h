#pragma once
// The drawing surface the renderer paints on: GDI-style calls recorded into
// a Metafile.
//
// Contract
// - The canvas keeps a current pen, brush and font (starting from the
//   defaults of PenSpec, BrushSpec and FontSpec). Changing them records
//   nothing by itself; a drawing call first records the state it uses
//   (Pen, Brush, Font) when that differs from what was last recorded, then
//   records itself. So the records are the drawing calls in call order, each
//   preceded by exactly the state changes it needs.
//   Pen: lines, arcs, Béziers, outlines. Brush: fills and, when solid, the
//   background behind text. Font: text.
// - All coordinates are integers in metafile units, passed through as given.
// - The rotated font is the current font with escapement and orientation
//   set; setFontRotation(0, 0) returns to the plain font.
// - textWidth/textHeight measure with the canvas's TextMetrics in the
//   current font (rotation does not change the extent).
// - The canvas only appends to the Metafile; the Metafile must outlive it.
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

#include "canvas/metafile.h"
#include "canvas/textmetrics.h"

namespace korvimo {

class MetaCanvas {
public:
    explicit MetaCanvas(Metafile& target);
    MetaCanvas(const MetaCanvas&) = delete;
    MetaCanvas& operator=(const MetaCanvas&) = delete;

    Metafile& target() { return m_target; }
    const TextMetrics& metrics() const { return m_metrics; }

    // Pen
    void setPenColor(int color) { m_pen.color = color; }
    void setPenWidth(int width) { m_pen.width = width; }
    void setPen(const PenSpec& pen) { m_pen = pen; }
    const PenSpec& pen() const { return m_pen; }

    // Brush
    void setBrushColor(int color) { m_brush.color = color; }
    void setBrushClear(bool clear) { m_brush.clear = clear; }
    void setBrush(const BrushSpec& brush) { m_brush = brush; }
    const BrushSpec& brush() const { return m_brush; }

    // Font. The size is in points on the reference device.
    void setFontName(const QString& name) { m_font.name = name; }
    void setFontSize(int points);
    int fontSize() const { return m_fontPoints; }
    void setFontColor(int color) { m_font.color = color; }
    void setFontBold(bool on) { m_font.bold = on; }
    void setFontItalic(bool on) { m_font.italic = on; }
    void setFontUnderline(bool on) { m_font.underline = on; }
    // Tenths of a degree, counter-clockwise.
    void setFontRotation(int escapement, int orientation);
    // The whole logical font at once (as read from a file); fontSize()
    // then reports the height in points.
    void setFont(const FontSpec& font);
    const FontSpec& font() const { return m_font; }

    // Text: (x, y) is the top-left corner of the text cell, before rotation.
    // A text longer than kMaxTextRunChars is recorded and measured by its
    // first kMaxTextRunChars characters: no picture shows more of one line,
    // and text shaping of megabytes breaks every player. cutTexts() counts
    // the texts so shortened, for the caller to report.
    static constexpr qsizetype kMaxTextRunChars = 4000;
    void textOut(int x, int y, const QString& text);
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;
    int cutTexts() const { return m_cutTexts; }

    // Lines and shapes.
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    QPoint penPosition() const { return m_position; }
    void polyline(const QList<QPoint>& points);
    void polygon(const QList<QPoint>& points);
    // Start point, then three points (two controls and an end) per curve.
    void polyBezier(const QList<QPoint>& points);
    // Counter-clockwise arc of the ellipse bounded by (left, top)-(right,
    // bottom), from the radial through (xStart, yStart) to the radial through
    // (xEnd, yEnd); equal radials draw the whole ellipse.
    void arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    void ellipse(int left, int top, int right, int bottom);
    void rectangle(int left, int top, int right, int bottom);

    // Pictures stretched into a box. A null image or an empty picture
    // records nothing.
    void stretchDraw(const MetaBox& box, const QImage& image);
    void stretchDraw(const MetaBox& box, const Metafile& picture);

private:
    void usePen();
    void useBrush();
    void useFont();
    void add(MetaRecordType type, QList<QPoint> points = {});

    Metafile& m_target;
    TextMetrics m_metrics;
    PenSpec m_pen;
    BrushSpec m_brush;
    FontSpec m_font;
    int m_fontPoints = 8;
    QPoint m_position;
    int m_cutTexts = 0;
    std::optional<PenSpec> m_recordedPen;
    std::optional<BrushSpec> m_recordedBrush;
    std::optional<FontSpec> m_recordedFont;
};

} // namespace korvimo
