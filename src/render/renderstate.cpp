#include "render/renderstate.h"

#include "core/programcontext.h"
#include "render/coordinates.h"

namespace korvimo {

RenderState::RenderState(const GeneralVariables& g, const ProgramContext& c, MetaCanvas& cv, QStringList s,
                         QStringList co, QStringList in)
    : general(g), ctx(c), canvas(cv), script(std::move(s)), coordinates(std::move(co)),
      intensities(std::move(in)), m_volumes(intensities, g.sfactor, g.intmin)
{
}

void RenderState::resetLine()
{
    reg.reset();
    elementCode.clear();
    curveForm.clear();
    circleType.clear();
    gradientCode.clear();
    arcDirection = 0;
    startArrow = false;
    endArrow = false;
    legendLabel.clear();
}

void RenderState::resolvePoint(const QString& name, long double& x, long double& y) const
{
    korvimo::resolvePoint(coordinates, name, x, y);
}

long double RenderState::thickness(QStringView expression) const
{
    return m_volumes.evaluate(ValueMode::Thickness, expression);
}

long double RenderState::raw(QStringView expression) const
{
    return m_volumes.evaluate(ValueMode::Raw, expression);
}

int RenderState::colourValue(QStringView field) const
{
    if (field.size() == 9 && field.startsWith(u"Color")) {
        int n = 0;
        for (QChar c : field.mid(5)) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return 0;
            n = n * 10 + (c.unicode() - u'0');
        }
        return n >= 1 && n <= 16 ? general.color[n - 1] : 0;
    }
    bool ok = false;
    const int v = field.toInt(&ok);
    return ok ? v : 0;
}

int RenderState::fillColour() const { return general.sblack ? 0 : colour; }

// sblack makes everything of a band black, its outlines included.
int RenderState::outlineColour() const { return general.sblackline || general.sblack ? 0 : colour; }

void RenderState::insertAfterCurrent(const QString& line) { script.insert(lineIndex + 1, line); }

} // namespace korvimo
