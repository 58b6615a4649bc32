#pragma once
// Shared set-up of the renderer tests: a document built from lines, a
// context whose messenger records, and the records after the signature.
#include <QStringList>

#include "canvas/metafile.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/maakmeta.h"

namespace rtest {

struct Rig {
    korvimo::RecordingMessenger messenger;
    korvimo::ProgramContext ctx;
    korvimo::DiagramDocument doc;
    korvimo::Metafile target;
    korvimo::RenderOutcome outcome;

    Rig();
    // Renders as the screen does ("EMF", "S") unless told otherwise.
    const korvimo::Metafile& render(const QString& type = QStringLiteral("EMF"),
                                    const QString& destination = QStringLiteral("S"));
    // The dump lines after the header, the comment and the signature text.
    QStringList drawn() const;
    // Only the records of one kind, e.g. "Polygon", as dump lines.
    QStringList drawnOf(const QString& kind) const;
};

} // namespace rtest

#include <gtest/gtest.h>

namespace rtest {
// Equal line lists, or a failure that shows the first differing lines.
inline testing::AssertionResult sameLines(const QStringList& actual, const QStringList& expected)
{
    const QString diff = korvimo::firstDumpDifference(expected, actual);
    if (diff.isEmpty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << diff.toStdString();
}
} // namespace rtest
