#include "render/elementpainters.h"

#include "render/arcflow.h"
#include "render/bandpainter.h"
#include "render/furniture.h"
#include "render/legendelement.h"
#include "render/textelement.h"

namespace korvimo {

namespace {

// Arcs, circles, texts, the north arrow, rectangles and pictures plug in
// here: their interpret and draw functions take the null slots.
const ElementInterpreter kInterpreters[] = {
    {u"IMG", u"IMG", interpretImg},
    {u"LNE", u"LNE", interpretLne},
    {u"ARC", u"ARC", interpretArc},
    {u"AR2", u"ARC", interpretArc},
    {u"CIR", u"CIR", interpretCir},
    {u"TXT", u"TXT", interpretTxt},
    {u"NTH", u"NTH", interpretNth},
    {u"REC", u"REC", interpretRec},
    {u"LEG", u"LEG", interpretLeg},
};

const ElementDrawer kDrawers[] = {
    {u"IMG", drawImg},
    {u"LNE", drawLne},
    {u"LVU", drawLvu},
    {u"ARC", drawArc},
    {u"CIR", drawCir},
    {u"TXT", drawTxt},
    {u"NTH", drawNth},
    {u"REC", drawRec},
    {u"LEG", drawLeg},
};

} // namespace

const ElementInterpreter* findInterpreter(QStringView code)
{
    for (const ElementInterpreter& e : kInterpreters)
        if (e.code == code)
            return &e;
    return nullptr;
}

const ElementDrawer* findDrawer(QStringView registerCode)
{
    for (const ElementDrawer& d : kDrawers)
        if (d.registerCode == registerCode)
            return &d;
    return nullptr;
}

void drawLvu(RenderState& s) { drawStraightJoint(s); }

} // namespace korvimo
