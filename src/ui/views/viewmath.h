#pragma once
// The arithmetic of the two views, apart from any widget: zoom steps, Zoom
// all, keeping the overview centred, the compose pointer read-out and the
// hit test of a click on a coordinate. Rounding is to the nearest integer
// with halves to the even neighbour.
#include <QPoint>
#include <QString>
#include <QStringList>

namespace korvimo {

int roundEven(double x);

// Zoom step of the overview: ZoomInOutValue, halved (toward zero) for the
// mouse wheel.
int zoomStep(int zoomInOutValue, bool fromWheel);
// The overview zoom after one step in or out; never below 0.
int zoomedOverview(int zoom, int step, bool zoomIn);

// Zoom all of the overview: the zoom that fits a Dw x Dh diagram into a
// w x h picture. The larger absolute pixel difference decides (the height
// when Dh - h > Dw - w, otherwise the width). Zero diagram sizes are taken
// as 500, as Zoom all itself replaces them.
int zoomAllPercent(int pictureWidth, int pictureHeight, int diagramWidth, int diagramHeight);

// The compose view's zoom, in whole pixels per diagram unit. With the
// setting ComposeZoomExtended off it is 1 or 2 and nothing else; with it on
// it goes up to kComposeZoomMax, as long as the compose picture stays within
// kComposeCanvasPixels (zoom 2 is always allowed).
inline constexpr int kComposeZoomMax = 4;
inline constexpr long long kComposeCanvasPixels = 16LL << 20;
int composeZoomCeiling(bool extended, int diagramWidth, int diagramHeight);
int composeZoomedIn(int zoom, int ceiling);
int composeZoomedOut(int zoom);
// Zoom all of the compose view: the largest zoom up to the ceiling at which
// the whole diagram fits the w x h viewport; 1 when not even that fits.
int composeZoomAll(int viewportWidth, int viewportHeight, int diagramWidth, int diagramHeight, int ceiling);

// Offset correction that keeps the centre of the overview drawing in place
// when its size changes from `lastDrawn` to `now` pixels; 0 when the last
// size is unknown (0).
int keepCentreShift(int lastDrawn, double now);

// The snapped pointer position over the compose picture, in diagram units.
// A zero zoom or interval counts as 1 and is written back as 1; values above
// the diagram's width or height are clamped to it.
QPoint pointerReadout(QPoint pixel, int* composeZoom, int* coordsInterval, int diagramWidth,
                      int diagramHeight);

// Index of the first coordinate line (text lines skipped, inactive ones
// included) that lies strictly within 3 diagram units of the pointer in both
// directions; -1 without a hit. A line whose X or Y is not a whole number
// stops the search with *error set to the conversion message.
int pickCoordinate(const QStringList& coordinates, QPoint pixel, int composeZoom, QString* error);

} // namespace korvimo
