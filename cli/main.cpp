// korvimo-cli: the headless face of Korvimo. Every command runs through the
// same core code as the desktop program; messages go to stderr.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

#include "cli/clicommands.h"
#include "cli/qtmessages.h"
#include "cli/clisetup.h"

using namespace korvimo;

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList& args, ProgramContext& ctx);
    const char* synopsis; // the usage line(s) after "korvimo-cli "
    const char* help;     // what COMMAND --help adds
};

// A new command needs one entry here and its function in clicommands.h.
const Command kCommands[] = {
    {"render", cli::renderCommand,
     "render INPUT OUTPUT [--width N] [--no-antialias] [--coordinates] [--directions] [--intersections]\n"
     "render IN... --out-dir DIR --format png|jpg|emf|wmf|svg|pdf|bmp [--width N] [--no-antialias]",
     "Draws a diagram and writes it as a picture. OUTPUT's extension picks the format: .emf .wmf\n"
     ".bmp .jpg .png .svg .pdf, or .txt for the record dump. --width is the width of pixel pictures\n"
     "(default: the ExportBmpSize setting); --no-antialias draws them without smoothing;\n"
     "--coordinates, --directions and --intersections show those overlays.\n"
     "With --out-dir, every IN is drawn into DIR under its own name with the --format extension\n"
     "(a second input of the same name keeps its extension: a.csv.png). One line per input tells\n"
     "its outcome; the pictures that could be made are written even when others fail.\n"
     "Exit status: 0 all written, 1 an input failed or drew with errors, 2 bad arguments.\n"},
    {"convert", cli::convertCommand, "convert INPUT OUTPUT.kvo",
     "Reads anything Korvimo opens and writes it as a current diagram file.\n"
     "Exit status: 0 written, 1 the input could not be read or the file not written, 2 bad arguments.\n"},
    {"check", cli::checkCommand, "check INPUT",
     "Draws the diagram with the intersections shown and prints the check dump on stdout.\n"
     "Exit status: 0 drawn without errors, 1 otherwise, 2 bad arguments.\n"},
    {"serve", cli::serveCommand, "serve [WATCHDIR] [--log FILE] [--delete-old] [--claim-timeout SECONDS]",
     "Runs server mode until SIGINT or SIGTERM: every .csv and .kvoimp file that lands in WATCHDIR\n"
     "becomes a JPEG picture of the same name there. Without WATCHDIR the settings come from\n"
     "AsServer.StartUp in the program folder (WatchDir, ServerLogFileName, DeleteOldDiagrams,\n"
     "ClaimTimeout); the options are applied over them. --log FILE writes the log there,\n"
     "--delete-old removes pictures older than 30 minutes, --claim-timeout sets after how many\n"
     "seconds (default 120) the requests of another server on the same folder that stopped are\n"
     "taken over. Every log line is also printed on stderr. Several servers may watch one folder.\n"
     "Exit status: 0 stopped by a signal, 1 no folder to serve, 2 bad arguments.\n"},
    {"compare", cli::compareCommand, "compare BASE SCENARIO OUTPUT [--width N] [--percent] [--zero]",
     "Draws how the traffic changed from BASE to SCENARIO, two data sets on the same template (any\n"
     "files Korvimo opens): band widths follow |SCENARIO - BASE|, colours the sign, labels read\n"
     "\"+120\" and \"-40\". OUTPUT is a .kvo diagram or a picture (.emf .wmf .bmp .jpg .png .svg .pdf).\n"
     "--percent adds the change as a percentage of BASE, --zero labels movements without change.\n"
     "Exit status: 0 written, 1 the sets could not be read or compared (for example both empty),\n"
     "2 bad arguments.\n"},
};

const Command* g_current = nullptr;

const Command* findCommand(const QString& name)
{
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// Each synopsis line prefixed with "  korvimo-cli ".
QString synopsisOf(const Command& c)
{
    QString out;
    for (const QString& line : QString::fromUtf8(c.synopsis).split(QLatin1Char('\n')))
        out += QStringLiteral("  korvimo-cli ") + line + QLatin1Char('\n');
    return out;
}

QString usage()
{
    QString out = QStringLiteral("usage:\n");
    for (const Command& c : kCommands)
        out += synopsisOf(c);
    out += QStringLiteral("  korvimo-cli --help | --version | COMMAND --help\n"
                          "INPUT is a .kvo, version-2, .in, .csv or .kvoimp file.\n");
    return out;
}

void print(FILE* to, const QString& text) { std::fputs(text.toLocal8Bit().constData(), to); }

} // namespace

namespace korvimo::cli {
int usageError(const QString& text)
{
    print(stderr, QStringLiteral("korvimo-cli: %1\n").arg(text));
    print(stderr, g_current ? QStringLiteral("usage:\n") + synopsisOf(*g_current) : usage());
    return 2;
}

int takeWidthOption(const QStringList& args, qsizetype& i, int& width)
{
    bool ok = false;
    width = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
    if (!ok || width < 1)
        return usageError(QStringLiteral("--width needs a whole number of pixels, at least 1"));
    return 0;
}
} // namespace korvimo::cli

int main(int argc, char** argv)
{
    // Fonts and painting need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    cli::filterQtMessages();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVIMO_VERSION));
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return cli::usageError(QStringLiteral("no command given"));
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        print(stdout, QStringLiteral("korvimo-cli draws Korvimo traffic flow diagrams without a display.\n") + usage());
        return 0;
    }
    if (args[0] == QLatin1String("--version")) {
        print(stdout, QStringLiteral("korvimo-cli %1\n").arg(QStringLiteral(KORVIMO_VERSION)));
        return 0;
    }
    const QString name = args.takeFirst();
    g_current = findCommand(name);
    if (!g_current)
        return cli::usageError(name.startsWith(QLatin1Char('-')) ? QStringLiteral("unknown option \"%1\"").arg(name)
                                                                 : QStringLiteral("unknown command \"%1\"").arg(name));
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        print(stdout, QStringLiteral("usage:\n") + synopsisOf(*g_current) + QLatin1Char('\n')
                          + QString::fromUtf8(g_current->help));
        return 0;
    }

    StderrMessenger messenger;
    ProgramContext ctx;
    ctx.paths = ProgramPaths::detect(QCoreApplication::applicationDirPath());
    ctx.messenger = &messenger;
    cli::readProgramSetUp(ctx);
    return g_current->run(args, ctx);
}
