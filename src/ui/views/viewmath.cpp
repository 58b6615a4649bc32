#include "ui/views/viewmath.h"

#include <QtGlobal>
#include <cmath>

namespace korvimo {

int roundEven(double x)
{
    // The default floating-point environment rounds halves to even.
    return static_cast<int>(std::nearbyint(x));
}

int zoomStep(int zoomInOutValue, bool fromWheel)
{
    return fromWheel ? zoomInOutValue / 2 : zoomInOutValue;
}

int zoomedOverview(int zoom, int step, bool zoomIn)
{
    if (zoomIn)
        return zoom + step;
    const int z = zoom - step;
    return z < 0 ? 0 : z;
}

int zoomAllPercent(int w, int h, int dw, int dh)
{
    if (dw == 0)
        dw = 500;
    if (dh == 0)
        dh = 500;
    if (dh - h > dw - w)
        return roundEven(static_cast<double>(h) / dh * 100.0) - 1;
    return roundEven(static_cast<double>(w) / dw * 100.0) - 1;
}

int composeZoomCeiling(bool extended, int dw, int dh)
{
    if (!extended)
        return 2;
    int z = 2;
    while (z < kComposeZoomMax
           && static_cast<long long>(dw) * (z + 1) * static_cast<long long>(dh) * (z + 1) <= kComposeCanvasPixels)
        ++z;
    return z;
}

int composeZoomedIn(int zoom, int ceiling) { return qBound(1, zoom + 1, qMax(1, ceiling)); }

int composeZoomedOut(int zoom) { return qMax(1, zoom - 1); }

int composeZoomAll(int w, int h, int dw, int dh, int ceiling)
{
    int best = 1;
    for (int z = 2; z <= ceiling; ++z) {
        if (static_cast<long long>(dw) * z <= w && static_cast<long long>(dh) * z <= h)
            best = z;
    }
    return best;
}

int keepCentreShift(int lastDrawn, double now)
{
    if (lastDrawn == 0)
        return 0;
    return roundEven((lastDrawn - now) / 2.0);
}

QPoint pointerReadout(QPoint pixel, int* composeZoom, int* coordsInterval, int diagramWidth, int diagramHeight)
{
    if (*composeZoom == 0)
        *composeZoom = 1;
    if (*coordsInterval == 0)
        *coordsInterval = 1;
    const double z = *composeZoom;
    const int s = *coordsInterval;
    int x = roundEven(pixel.x() / z / s) * s;
    int y = roundEven(pixel.y() / z / s) * s;
    if (x > diagramWidth)
        x = diagramWidth;
    if (y > diagramHeight)
        y = diagramHeight;
    return QPoint(x, y);
}

namespace {

bool parseWhole(const QString& text, int* out, QString* error)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok) {
        *error = QStringLiteral("'%1' is not a valid integer value").arg(text);
        return false;
    }
    *out = v;
    return true;
}

} // namespace

int pickCoordinate(const QStringList& coordinates, QPoint pixel, int composeZoom, QString* error)
{
    const double z = composeZoom == 0 ? 1.0 : composeZoom;
    const double px = pixel.x() / z;
    const double py = pixel.y() / z;
    for (int i = 0; i < coordinates.size(); ++i) {
        const QString& line = coordinates[i];
        if (line.startsWith(QLatin1Char('*')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        const QStringList fields = line.mid(eq + 1).split(QLatin1Char(';'));
        int x = 0, y = 0;
        if (!parseWhole(fields.value(0), &x, error) || !parseWhole(fields.value(1), &y, error))
            return -1;
        if (x - 3 < px && px < x + 3 && y - 3 < py && py < y + 3)
            return i;
    }
    return -1;
}

} // namespace korvimo
