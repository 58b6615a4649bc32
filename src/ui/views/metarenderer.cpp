#include "ui/views/metarenderer.h"

#include "render/maakmeta.h"

namespace korvimo {

void MetaRenderer::render(DiagramDocument& doc, ProgramContext& ctx)
{
    MaakMeta(doc, ctx, m_target, QStringLiteral("EMF"), QStringLiteral("S"));
}

void MetaRenderer::play(QPainter& painter, const QRect& target) const { playInLane(painter, target, 0); }

void MetaRenderer::playInLane(QPainter& painter, const QRect& target, int lane) const
{
    m_players.at(size_t(lane)).play(m_target, painter, QRectF(target), false);
}

} // namespace korvimo
