#pragma once
// Everything one drawing works with: the working copies of the three lists,
// the point registers and per-line state, the state kept from line to line,
// and the canvas. Element painters read and write it; it lives for exactly
// one call of MaakMeta, so nothing survives from one drawing to the next.
#include <QString>
#include <QStringList>

#include "canvas/metacanvas.h"
#include "document/generalvariables.h"
#include "render/pointregisters.h"
#include "render/volumes.h"

namespace korvimo {

struct ProgramContext;

class RenderState {
public:
    RenderState(const GeneralVariables& general, const ProgramContext& ctx, MetaCanvas& canvas,
                QStringList script, QStringList coordinates, QStringList intensities);
    RenderState(const RenderState&) = delete;
    RenderState& operator=(const RenderState&) = delete;

    const GeneralVariables& general;
    const ProgramContext& ctx;
    MetaCanvas& canvas;
    QString fileName; // the open diagram's file name, for texts that show it

    // Working copies: generated lines and helper points go here, never into
    // the document.
    QStringList script;
    QStringList coordinates;
    QStringList intensities;
    QStringList checkList;
    int lineIndex = 0; // the script line being drawn

    // Per-line state, cleared by resetLine().
    PointRegisters reg;
    QString elementCode; // what is drawn for this line: "LNE", "LVU", "ARC", ...; empty = nothing
    QString curveForm;
    QString circleType;
    QString gradientCode;
    int arcDirection = 0; // 0 none, 1 from the tangent point Xa6/Ya6, 2 towards it
    bool startArrow = false;
    bool endArrow = false;
    QString legendLabel; // the text beside a legend's band

    // Kept from line to line; each is set afresh by the line that uses it.
    int colour = 0;
    QString pictureType;
    QString pictureFile;
    int pictureScale = 0;
    QString textContent;
    QString alignment;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int textSizePercent = 100;
    int labelSizePercent = 70;
    int rotation = 0;
    int rectColour1 = 0; // top and bottom colours of a rectangle's gradient
    int rectColour2 = 0;
    bool groupVisible = true;

    void resetLine();

    // The point's coordinates in metafile units; untouched when no line
    // carries the name. Throws ConversionError on a malformed line.
    void resolvePoint(const QString& name, long double& x, long double& y) const;
    // A value expression as a length (thickness mode) or as written (raw).
    long double thickness(QStringView expression) const;
    long double raw(QStringView expression) const;
    // A colour field: a decimal Windows colour value or "Color0001" ..
    // "Color0016"; anything else is black.
    int colourValue(QStringView field) const;

    // Band colours: the fill and the outline, black when the diagram asks.
    int fillColour() const;
    int outlineColour() const;

    // Inserts a generated line directly after the current one, so it is
    // drawn next.
    void insertAfterCurrent(const QString& line);

private:
    VolumeTable m_volumes;
};

} // namespace korvimo
