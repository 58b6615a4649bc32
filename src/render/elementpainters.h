#pragma once
// The element painters, one file each. Interpretation reads a line's fields
// (after code and version) into the render state and sets the element code
// register; drawing then paints whatever that register names. Codes whose
// painter is not (yet) built are recognised but draw nothing.
#include <QStringView>

namespace korvimo {

class RenderState;
class ScriptFieldReader;

using InterpretElement = void (*)(RenderState&, ScriptFieldReader&);
using DrawElement = void (*)(RenderState&);

struct ElementInterpreter {
    QStringView code;         // first three characters of the line
    QStringView registerCode; // what the element code register starts as ("ARC" for AR2)
    InterpretElement interpret; // null: recognised, draws nothing
};

struct ElementDrawer {
    QStringView registerCode;
    DrawElement draw; // null: draws nothing
};

// The interpreter for a line's code; null for a code that is no element or
// for GRP, which the driver handles itself.
const ElementInterpreter* findInterpreter(QStringView code);
// The drawer for the element code register, tested in the fixed order IMG,
// LNE, LVU, ARC, CIR, TXT, NTH, REC; null when none matches.
const ElementDrawer* findDrawer(QStringView registerCode);

// Straight band (lnepainter.cpp).
void interpretLne(RenderState& s, ScriptFieldReader& fields);
void drawLne(RenderState& s);
// Straight joint of an arc drawn straight (bandpainter.cpp).
void drawLvu(RenderState& s);

} // namespace korvimo
