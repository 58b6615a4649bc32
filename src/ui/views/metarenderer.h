#pragma once
// The views' renderer: MaakMeta records the document into the screen's
// render target, QtPlayer plays the records onto the views' painters.
#include <array>

#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "ui/views/diagramrenderer.h"

namespace korvimo {

class MetaRenderer final : public DiagramRenderer {
public:
    void render(DiagramDocument& doc, ProgramContext& ctx) override;
    QSize metaSize() const override { return QSize(m_target.width(), m_target.height()); }
    void play(QPainter& painter, const QRect& target) const override;
    int playLanes() const override { return int(m_players.size()); }
    void playInLane(QPainter& painter, const QRect& target, int lane) const override;

    const Metafile& target() const { return m_target; }

private:
    Metafile m_target;
    // A player keeps font caches, so each lane has its own; lane 0 is play()'s.
    mutable std::array<QtPlayer, 4> m_players;
};

} // namespace korvimo
