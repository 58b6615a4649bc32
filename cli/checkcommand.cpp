// korvimo-cli check INPUT: draws the diagram with the intersections shown
// and prints the check dump, the registers of every drawn element.
#include <cstdio>

#include "canvas/metafile.h"
#include "cli/clicommands.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "render/maakmeta.h"

namespace korvimo::cli {

namespace {

// Passes messages on and counts the errors, so that a file the open
// procedure complained about ends with status 1.
class ErrorCountingMessenger final : public Messenger {
public:
    explicit ErrorCountingMessenger(Messenger& inner) : m_inner(inner) {}
    void error(const QString& text) override
    {
        ++errors;
        m_inner.error(text);
    }
    void information(const QString& text) override { m_inner.information(text); }
    void warning(const QString& text) override { m_inner.warning(text); }
    int question(const QString& title, const QString& text, const QString& yes, const QString& no,
                 const QString& cancel) override
    {
        return m_inner.question(title, text, yes, no, cancel);
    }
    int errors = 0;

private:
    Messenger& m_inner;
};

// Opens INPUT the way the program's Open command does, into a new diagram.
bool openInput(const QString& input, ProgramContext& ctx, DiagramDocument& doc)
{
    ErrorCountingMessenger counting(ctx.messages());
    Messenger* const previous = ctx.messenger;
    ctx.messenger = &counting;
    DiagramFile file(ctx, doc);
    file.BasisInstellingenDatabestand();
    doc.fileName = file.untitledName();
    const bool ok = file.StromenBestandOpenen(input) == OpenResult::Read && counting.errors == 0;
    ctx.messenger = previous;
    return ok;
}

} // namespace

int checkCommand(const QStringList& args, ProgramContext& ctx)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return usageError(QStringLiteral("check needs exactly one INPUT"));
    DiagramDocument doc;
    if (!openInput(args[0], ctx, doc))
        return 1;
    ctx.view.showIntersections = true;
    Metafile target;
    const RenderOutcome outcome = MaakMeta(doc, ctx, target, QStringLiteral("EMF"), QStringLiteral("E"));
    const QByteArray text = outcome.checkList.join(QLatin1Char('\n')).toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    return outcome.completed && outcome.brokenLines == 0 ? 0 : 1;
}

} // namespace korvimo::cli
