#pragma once
// A small diagram to draw in element tests: the lists, the context with a
// recording messenger, and helpers that pick records out of the result.
#include <QList>
#include <QStringList>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "core/messenger.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/maakmeta.h"
#include "render/renderstate.h"
#include "render/scriptline.h"

namespace test {

struct ElementDrawing {
    korvimo::DiagramDocument doc;
    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    korvimo::Metafile target;
    korvimo::RenderOutcome outcome;

    ElementDrawing()
    {
        ctx.messenger = &messenger;
        doc.general.diagramwidth = 500;
        doc.general.diagramheight = 500;
        doc.general.linewidth = 3;
        doc.general.arrowsize = 40;
    }

    const korvimo::RenderOutcome& render(const QString& type = QStringLiteral("EMF"))
    {
        outcome = korvimo::MaakMeta(doc, ctx, target, type, QStringLiteral("E"));
        return outcome;
    }

    // The records of one type, the signature text left out, each carrying
    // the pen, brush and font in force when it was drawn.
    QList<korvimo::MetaRecord> records(korvimo::MetaRecordType type) const
    {
        using T = korvimo::MetaRecordType;
        QList<korvimo::MetaRecord> out;
        korvimo::PenSpec pen;
        korvimo::BrushSpec brush;
        korvimo::FontSpec font;
        bool signature = true;
        for (const korvimo::MetaRecord& r : target.records()) {
            if (r.type == T::Pen)
                pen = r.pen;
            else if (r.type == T::Brush)
                brush = r.brush;
            else if (r.type == T::Font)
                font = r.font();
            if (r.type == T::TextOut && signature) {
                signature = false;
                continue;
            }
            if (r.type == type) {
                korvimo::MetaRecord copy = r;
                if (type != T::Pen && type != T::Brush && type != T::Font) {
                    copy.pen = pen;
                    copy.brush = brush;
                    copy.setFont(font);
                }
                out.append(copy);
            }
        }
        return out;
    }
};

// Interprets one line on its own, without drawing, so a test can look at
// the registers and the working lists it leaves.
struct InterpretedLine {
    korvimo::GeneralVariables general;
    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    korvimo::Metafile target{5000, 5000};
    std::unique_ptr<korvimo::MetaCanvas> canvas;
    std::unique_ptr<korvimo::RenderState> state;

    InterpretedLine() { ctx.messenger = &messenger; }

    korvimo::RenderState& run(const QString& line, const QStringList& coordinates, const QStringList& values,
                              void (*interpret)(korvimo::RenderState&, korvimo::ScriptFieldReader&))
    {
        canvas = std::make_unique<korvimo::MetaCanvas>(target);
        state = std::make_unique<korvimo::RenderState>(general, ctx, *canvas, QStringList{line}, coordinates, values);
        state->lineIndex = 0;
        state->resetLine();
        korvimo::ScriptFieldReader f(line);
        state->elementCode = f.code() == QLatin1String("AR2") ? QStringLiteral("ARC") : f.code();
        f.nextField();
        f.nextInteger();
        interpret(*state, f);
        return *state;
    }
};

} // namespace test
