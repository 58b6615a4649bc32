// korvimo-cli render INPUT OUTPUT: opens a diagram as the program does,
// draws it for export and writes the picture in the format OUTPUT's
// extension names. A drawing that stopped at an error is still written (it
// holds what was drawn), and the exit status is then 1.
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "cli/clicommands.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "render/maakmeta.h"

namespace korvimo::cli {

namespace {

using PictureWriter = bool (*)(const Metafile&, const QString& path, QString* error);

bool writeDump(const Metafile& m, const QString& path, QString* error)
{
    QSaveFile f(path);
    const QByteArray bytes = m.dump().toUtf8();
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit())
        return true;
    if (error)
        *error = f.errorString();
    return false;
}

// One pixel per diagram unit, played as the screen plays it.
bool writePng(const Metafile& m, const QString& path, QString* error)
{
    const QImage image = renderToImage(m, QSize(m.width() / 10, m.height() / 10));
    QSaveFile f(path);
    if (!image.isNull() && f.open(QIODevice::WriteOnly) && image.save(&f, "PNG") && f.commit())
        return true;
    if (error)
        *error = image.isNull() ? QStringLiteral("the diagram has no size") : f.errorString();
    return false;
}

struct OutputFormat {
    const char* extension; // lower case, with its dot
    const char* outputType; // what MaakMeta records: "EMF" or "WMF"
    PictureWriter write;
};

// New formats only need a line here.
const OutputFormat kFormats[] = {
    {".emf", "EMF", writeEmf},
    {".wmf", "WMF", writeWmf},
    {".txt", "EMF", writeDump},
    {".png", "EMF", writePng},
};

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

const OutputFormat* formatFor(const QString& path)
{
    const QString name = path.toLower();
    for (const OutputFormat& f : kFormats)
        if (name.endsWith(QLatin1String(f.extension)))
            return &f;
    return nullptr;
}

} // namespace

int renderCommand(const QStringList& args, ProgramContext& ctx)
{
    QStringList files;
    for (const QString& a : args) {
        if (a == QLatin1String("--coordinates"))
            ctx.view.showCoordinates = true;
        else if (a == QLatin1String("--directions"))
            ctx.view.showDirections = true;
        else if (a == QLatin1String("--intersections"))
            ctx.view.showIntersections = true;
        else if (a.startsWith(QLatin1String("--")))
            return usageError(QStringLiteral("unknown option \"%1\"").arg(a));
        else
            files.append(a);
    }
    if (files.size() != 2)
        return usageError(QStringLiteral("render needs INPUT and OUTPUT"));
    const OutputFormat* format = formatFor(files[1]);
    if (!format)
        return usageError(QStringLiteral("cannot write \"%1\": unknown picture type").arg(files[1]));

    DiagramDocument doc;
    if (!openInput(files[0], ctx, doc))
        return 1; // the open procedure has said why; nothing is written

    Metafile target;
    const RenderOutcome outcome =
        MaakMeta(doc, ctx, target, QString::fromLatin1(format->outputType), QStringLiteral("E"));
    QString error;
    if (!format->write(target, files[1], &error)) {
        ctx.messages().error(QStringLiteral("Cannot write %1: %2").arg(files[1], error));
        return 1;
    }
    return outcome.completed && outcome.brokenLines == 0 ? 0 : 1;
}

} // namespace korvimo::cli
