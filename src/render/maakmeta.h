#pragma once
// The renderer's driver: turns a diagram into the records of the render
// target. Every view, export, print, clipboard copy and server picture
// starts here.
//
// Contract
// - The document is only read; everything the drawing generates (extra
//   script lines, helper points and values, the show-directions numbers)
//   lives in private copies. Two calls with the same inputs record exactly
//   the same metafile.
// - The target is cleared and sized round(diagramwidth x 10) by
//   round(diagramheight x 10) metafile units; outputType "WMF" makes it a
//   Windows metafile, anything else an enhanced one. The destination ("S"
//   screen, "P" print, "E" export, "K" clipboard) only colours the hidden
//   signature text.
// - Failures never propagate. A line whose geometry breaks (a non-finite
//   result) is reported once with AA00011 and not drawn; the drawing goes
//   on. A malformed number stops the drawing with the conversion error's
//   own text, and the target keeps what was drawn before. All messages go
//   through ctx's Messenger.
#include <QString>
#include <QStringList>

namespace korvimo {

class DiagramDocument;
class Metafile;
struct ProgramContext;

struct RenderOutcome {
    bool completed = true; // false: an error stopped the drawing part-way
    QString errorText;     // the text that was reported when it stopped
    int brokenLines = 0;   // lines reported with AA00011
    QStringList checkList; // the intersection check dump ("Values * 1000" ...)
};

RenderOutcome MaakMeta(const DiagramDocument& document, const ProgramContext& ctx, Metafile& target,
                       const QString& outputType, const QString& destination);

// Name of the file in the temporary folder whose presence switches
// diagnostic mode on.
inline constexpr const char* kDiagnosticMarkerName = "Korvimo.diagnose";
bool diagnosticMarkerPresent(const QString& tempFolder);

} // namespace korvimo
