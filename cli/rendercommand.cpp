// korvimo-cli render INPUT OUTPUT [--width N] [--no-antialias]: opens a
// diagram as the program does, draws it for export and writes the picture in
// the format OUTPUT's extension names. Pixel pictures (.bmp .jpg .png) and
// the vector copies (.svg .pdf) go through the export command's own code;
// --width (default: the setting ExportBmpSize) and --no-antialias apply to
// the pixel pictures. A drawing that stopped at an error is still written (it
// holds what was drawn), and the exit status is then 1.
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "cli/clicommands.h"
#include "cli/inputdocument.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "output/exportfile.h"
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
};

// Formats written by the export command rather than from the table above.
bool viaExport(const QString& path)
{
    const QString ext = extensionOf(path).toLower();
    for (const char* e : {".bmp", ".jpg", ".jpeg", ".png", ".svg", ".pdf"})
        if (ext == QLatin1String(e))
            return true;
    return false;
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
    int width = ctx.settings.exportBmpSize;
    bool antiAliased = ctx.settings.exportPixAntiAliased;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--width")) {
            bool ok = false;
            width = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || width < 1)
                return usageError(QStringLiteral("--width needs a whole number of pixels, at least 1"));
        } else if (a == QLatin1String("--no-antialias"))
            antiAliased = false;
        else if (a == QLatin1String("--coordinates"))
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
    if (!format && !viaExport(files[1]))
        return usageError(QStringLiteral("cannot write \"%1\": unknown picture type").arg(files[1]));

    DiagramDocument doc;
    const InputRead read = openInput(files[0], ctx, doc);
    if (read == InputRead::Failed)
        return 1; // the open procedure has said why; nothing is written

    if (!format) {
        ErrorCountingMessenger counting(ctx.messages());
        Messenger* const previous = ctx.messenger;
        ctx.messenger = &counting;
        const bool written = exportByExtension(doc, ctx, files[1], width, antiAliased);
        ctx.messenger = previous;
        return exitStatus(read, written && counting.errors == 0);
    }

    Metafile target;
    const RenderOutcome outcome =
        MaakMeta(doc, ctx, target, QString::fromLatin1(format->outputType), QStringLiteral("E"));
    QString error;
    if (!format->write(target, files[1], &error)) {
        ctx.messages().error(ctx.texts.format(QStringLiteral("AA00001"), {files[1]}) + QLatin1Char('\n') + error);
        return 1;
    }
    return exitStatus(read, outcome.completed && outcome.brokenLines == 0);
}

} // namespace korvimo::cli
