#include "ui/views/metarenderer.h"

#include "render/maakmeta.h"

namespace korvimo {

void MetaRenderer::render(DiagramDocument& doc, ProgramContext& ctx)
{
    MaakMeta(doc, ctx, m_target, QStringLiteral("EMF"), QStringLiteral("S"));
}

void MetaRenderer::play(QPainter& painter, const QRect& target) const
{
    m_player.play(m_target, painter, QRectF(target), false);
}

} // namespace korvimo
