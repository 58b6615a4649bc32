#pragma once
// What the views need from the renderer: fill the screen's render target
// from the document, tell its size, and play it into a rectangle of a
// painter. The views never look inside the recording.
#include <QRect>
#include <QSize>

class QPainter;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class DiagramRenderer {
public:
    virtual ~DiagramRenderer() = default;
    // Renders the document for the screen (output type "EMF", destination
    // "S"). Problems the renderer finds are reported through the context's
    // messenger; the target then holds what could be drawn.
    virtual void render(DiagramDocument& doc, ProgramContext& ctx) = 0;
    // Size of the render target in metafile units (ten per diagram unit).
    virtual QSize metaSize() const = 0;
    // Stretches the render target into `target` (painter coordinates).
    virtual void play(QPainter& painter, const QRect& target) const = 0;

    // A renderer that can play on several threads at once says on how many
    // (its lanes); playInLane(…, lane) may then run concurrently for
    // different lanes. The default plays on the calling thread only.
    virtual int playLanes() const { return 1; }
    virtual void playInLane(QPainter& painter, const QRect& target, int /*lane*/) const { play(painter, target); }
};

} // namespace korvimo
