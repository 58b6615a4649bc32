// korvimo-cli render INPUT OUTPUT [--width N] [--no-antialias]: opens a
// diagram as the program does, draws it for export and writes the picture in
// the format OUTPUT's extension names. Pixel pictures (.bmp .jpg .png) and
// the vector copies (.svg .pdf) go through the export command's own code;
// --width (default: the setting ExportBmpSize) and --no-antialias apply to
// the pixel pictures. A drawing that stopped at an error is still written (it
// holds what was drawn), and the exit status is then 1.
//
// korvimo-cli render IN... --out-dir DIR --format F: the same for many
// inputs in one process, each into DIR under its own name. One line on
// stdout per input tells its outcome; on a terminal, with more than a few
// inputs, a progress line on stderr shows how far it is. A failed input does
// not stop the others; the status is then 1.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <unistd.h>

#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "cli/clicommands.h"
#include "cli/inputdocument.h"
#include "core/inputfile.h"
#include "core/safefile.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "output/exportfile.h"
#include "render/maakmeta.h"

namespace korvimo::cli {

namespace {

using PictureWriter = bool (*)(const Metafile&, const QString& path, QString* error);

bool writeDump(const Metafile& m, const QString& path, QString* error)
{
    return writeWholeFile(path, m.dump().toUtf8(), error);
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

// Draws one input into one output; 0 written cleanly, 1 otherwise.
int renderOne(const QString& input, const QString& output, int width, bool antiAliased, ProgramContext& ctx)
{
    const OutputFormat* format = formatFor(output);
    DiagramDocument doc;
    const InputRead read = openInput(input, ctx, doc);
    if (read == InputRead::Failed)
        return 1; // the open procedure has said why; nothing is written

    if (!format) {
        ErrorCountingMessenger counting(ctx.messages());
        Messenger* const previous = ctx.messenger;
        ctx.messenger = &counting;
        const bool written = exportByExtension(doc, ctx, output, width, antiAliased);
        ctx.messenger = previous;
        return exitStatus(read, written && counting.errors == 0);
    }

    Metafile target;
    const RenderOutcome outcome =
        MaakMeta(doc, ctx, target, QString::fromLatin1(format->outputType), QStringLiteral("E"));
    QString error;
    if (!format->write(target, output, &error)) {
        ctx.messages().error(error); // names the file and the system's reason
        return 1;
    }
    if (target.kind() == MetafileKind::Wmf)
        reportWmfClamping(target, ctx);
    return exitStatus(read, outcome.completed && outcome.brokenLines == 0);
}

const char* const kBatchFormats[] = {"png", "jpg", "emf", "wmf", "svg", "pdf", "bmp"};
constexpr int kProgressFrom = 4; // inputs; fewer finish before a progress line helps

// The output names of a batch: each input's name without its extension
// plus the format's; an input whose name is taken by an earlier one keeps
// its extension (a.csv beside a.kvoimp gives a.png and a.csv.png). Empty
// where even that is taken (the same name in two folders).
QStringList batchOutputs(const QStringList& inputs, const QString& dir, const QString& format)
{
    QStringList out;
    QSet<QString> used;
    for (const QString& input : inputs) {
        const QFileInfo fi(input);
        QString name = fi.completeBaseName() + QLatin1Char('.') + format;
        if (used.contains(name.toLower()))
            name = fi.fileName() + QLatin1Char('.') + format;
        if (used.contains(name.toLower())) {
            out << QString();
            continue;
        }
        used.insert(name.toLower());
        out << QDir(dir).filePath(name);
    }
    return out;
}

// Clears the progress line before a message, so the message stands whole.
class ClearingMessenger final : public Messenger {
public:
    explicit ClearingMessenger(Messenger& inner) : m_inner(inner) {}
    void error(const QString& t) override { clear(); m_inner.error(t); }
    void information(const QString& t) override { clear(); m_inner.information(t); }
    void warning(const QString& t) override { clear(); m_inner.warning(t); }
    using Messenger::question;
    int question(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e, int f) override
    {
        clear();
        return m_inner.question(a, b, c, d, e, f);
    }

private:
    static void clear() { std::fputs("\r\033[K", stderr); }
    Messenger& m_inner;
};

int renderBatch(const QStringList& inputs, const QString& dir, const QString& format, int width,
                bool antiAliased, ProgramContext& ctx)
{
    if (!QFileInfo(dir).isDir()) {
        ctx.messages().error(QStringLiteral("The output folder %1 does not exist.").arg(dir));
        return 1;
    }
    const QStringList outputs = batchOutputs(inputs, dir, format);
    const bool progress = inputs.size() >= kProgressFrom && ::isatty(STDERR_FILENO);
    const int configuredWidth = ctx.settings.exportBmpSize;
    ClearingMessenger clearing(ctx.messages());
    Messenger* const previous = ctx.messenger;
    if (progress)
        ctx.messenger = &clearing;
    int failed = 0;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        if (progress) {
            std::fprintf(stderr, "\r[%lld/%lld] %s\033[K", static_cast<long long>(i + 1),
                         static_cast<long long>(inputs.size()), QFileInfo(inputs[i]).fileName().toLocal8Bit().constData());
            std::fflush(stderr);
        }
        QString line;
        if (outputs[i].isEmpty()) {
            line = QStringLiteral("FAILED %1: its picture name is taken by an earlier input").arg(inputs[i]);
        } else if (isSameFile(inputs[i], outputs[i])) {
            line = QStringLiteral("FAILED %1: the picture would replace the input").arg(inputs[i]);
        } else {
            const QFileInfo before(outputs[i]);
            const QDateTime stampBefore = before.exists() ? before.lastModified() : QDateTime();
            const int status = renderOne(inputs[i], outputs[i], width, antiAliased, ctx);
            const QFileInfo after(outputs[i]);
            const bool written = after.exists() && (!stampBefore.isValid() || after.lastModified() != stampBefore);
            if (status == 0)
                line = QStringLiteral("ok %1 -> %2").arg(inputs[i], outputs[i]);
            else if (written)
                line = QStringLiteral("FAILED %1 -> %2: drawn with errors").arg(inputs[i], outputs[i]);
            else
                line = QStringLiteral("FAILED %1: no picture written").arg(inputs[i]);
        }
        // An import request sets the width of its own picture only.
        ctx.settings.exportBmpSize = configuredWidth;
        if (!line.startsWith(QLatin1String("ok ")))
            ++failed;
        if (progress)
            std::fputs("\r\033[K", stderr); // the outcome line takes the progress line's place
        std::printf("%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    }
    ctx.messenger = previous;
    std::fprintf(stderr, "%lld of %lld written\n", static_cast<long long>(inputs.size() - failed),
                 static_cast<long long>(inputs.size()));
    return failed == 0 ? 0 : 1;
}

} // namespace

int renderCommand(const QStringList& args, ProgramContext& ctx)
{
    QStringList files;
    int width = ctx.settings.exportBmpSize;
    bool antiAliased = ctx.settings.exportPixAntiAliased;
    QString outDir;
    QString format;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--width")) {
            if (const int bad = takeWidthOption(args, i, width))
                return bad;
        } else if (a == QLatin1String("--no-antialias"))
            antiAliased = false;
        else if (a == QLatin1String("--coordinates"))
            ctx.view.showCoordinates = true;
        else if (a == QLatin1String("--directions"))
            ctx.view.showDirections = true;
        else if (a == QLatin1String("--intersections"))
            ctx.view.showIntersections = true;
        else if (a == QLatin1String("--out-dir")) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("--out-dir needs a folder"));
            outDir = args[++i];
        } else if (a == QLatin1String("--format")) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("--format needs one of png jpg emf wmf svg pdf bmp"));
            format = args[++i].toLower();
            if (std::none_of(std::begin(kBatchFormats), std::end(kBatchFormats),
                             [&](const char* f) { return format == QLatin1String(f); }))
                return usageError(QStringLiteral("unknown format \"%1\"; use png jpg emf wmf svg pdf or bmp").arg(args[i]));
        } else if (a.startsWith(QLatin1String("--")))
            return usageError(QStringLiteral("unknown option \"%1\"").arg(a));
        else
            files.append(a);
    }
    if (!outDir.isEmpty() || !format.isEmpty()) {
        if (outDir.isEmpty() || format.isEmpty())
            return usageError(QStringLiteral("--out-dir and --format go together"));
        if (files.isEmpty())
            return usageError(QStringLiteral("render --out-dir needs at least one IN"));
        return renderBatch(files, outDir, format, width, antiAliased, ctx);
    }
    if (files.size() != 2)
        return usageError(QStringLiteral("render needs INPUT and OUTPUT"));
    if (!formatFor(files[1]) && !viaExport(files[1]))
        return usageError(QStringLiteral("cannot write \"%1\": unknown picture type").arg(files[1]));
    // Writing the picture over its own input would destroy the diagram.
    if (refuseOutputOverInput(files[0], files[1], ctx))
        return 1;
    return renderOne(files[0], files[1], width, antiAliased, ctx);
}

} // namespace korvimo::cli
