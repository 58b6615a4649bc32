// korvimo-cli convert INPUT OUTPUT.kvo: reads anything the open procedure
// reads and writes it as a current diagram file.
#include <QFileInfo>

#include "cli/clicommands.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/library.h"

namespace korvimo::cli {

namespace {

// Passes every message on and remembers whether an error was among them, so
// the exit status can tell that the work reported one.
class CountingMessenger final : public Messenger {
public:
    explicit CountingMessenger(Messenger& inner) : m_inner(inner) {}
    void error(const QString& text) override
    {
        ++errors;
        m_inner.error(text);
    }
    void information(const QString& text) override { m_inner.information(text); }
    void warning(const QString& text) override { m_inner.warning(text); }
    using Messenger::question;
    int question(const QString& title, const QString& text, const QString& yes, const QString& no,
                 const QString& cancel, int defaultAnswer) override
    {
        return m_inner.question(title, text, yes, no, cancel, defaultAnswer);
    }
    int errors = 0;

private:
    Messenger& m_inner;
};

} // namespace

int convertCommand(const QStringList& args, ProgramContext& ctx)
{
    if (args.size() != 2)
        return usageError(QStringLiteral("convert needs INPUT and OUTPUT.kvo"));
    const QString input = args[0];
    const QString output = args[1];
    if (QFileInfo(output).suffix().compare(QLatin1String("kvo"), Qt::CaseInsensitive) != 0)
        return usageError(QStringLiteral("the output of convert must be a .kvo file"));

    CountingMessenger counting(ctx.messages());
    Messenger* const previous = ctx.messenger;
    ctx.messenger = &counting;

    DiagramDocument doc;
    DiagramFile file(ctx, doc);
    DiagramLibrary library(ctx);
    library.TekstenDiagramOphalenUitBestand();
    file.setTemplateLibrary(&library);
    file.BasisInstellingenDatabestand();
    doc.fileName = file.untitledName();

    const OpenResult read = file.StromenBestandOpenen(input);
    bool ok = read == OpenResult::Read && counting.errors == 0;
    // A file that could not be read is not converted: writing an empty
    // diagram in its place would look like success.
    if (ok)
        ok = file.StromenBestandOpslaan(output);
    ctx.messenger = previous;
    return ok ? 0 : 1;
}

} // namespace korvimo::cli
