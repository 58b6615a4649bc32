#include "render/elementpainters.h"

#include "render/bandpainter.h"

namespace korvimo {

namespace {

// Arcs, circles, texts, the north arrow, rectangles and pictures plug in
// here: their interpret and draw functions take the null slots.
const ElementInterpreter kInterpreters[] = {
    {u"IMG", u"IMG", nullptr},
    {u"LNE", u"LNE", interpretLne},
    {u"ARC", u"ARC", nullptr},
    {u"AR2", u"ARC", nullptr},
    {u"CIR", u"CIR", nullptr},
    {u"TXT", u"TXT", nullptr},
    {u"NTH", u"NTH", nullptr},
    {u"REC", u"REC", nullptr},
};

const ElementDrawer kDrawers[] = {
    {u"IMG", nullptr},
    {u"LNE", drawLne},
    {u"LVU", drawLvu},
    {u"ARC", nullptr},
    {u"CIR", nullptr},
    {u"TXT", nullptr},
    {u"NTH", nullptr},
    {u"REC", nullptr},
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
