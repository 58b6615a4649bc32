// korvimo-cli: the headless face of Korvimo. Every command runs through the
// same core code as the desktop program; messages go to stderr.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

#include "cli/clicommands.h"
#include "cli/clisetup.h"

using namespace korvimo;

namespace {

const char* kUsage =
    "usage:\n"
    "  korvimo-cli render INPUT OUTPUT [--width N] [--no-antialias] [--coordinates] [--directions]\n"
    "                                  [--intersections]\n"
    "  korvimo-cli convert INPUT OUTPUT.kvo\n"
    "  korvimo-cli check INPUT\n"
    "  korvimo-cli serve [WATCHDIR] [--log FILE] [--delete-old]\n"
    "INPUT is a .kvo, version-2, .in, .csv or .kvoimp file; OUTPUT's extension picks the format\n"
    "(.emf .wmf .bmp .jpg .png .svg .pdf .txt).\n";

} // namespace

namespace korvimo::cli {
int usageError(const QString& text)
{
    std::fprintf(stderr, "korvimo-cli: %s\n%s", text.toLocal8Bit().constData(), kUsage);
    return 2;
}
} // namespace korvimo::cli

int main(int argc, char** argv)
{
    // Fonts and painting need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();

    StderrMessenger messenger;
    ProgramContext ctx;
    ctx.paths = ProgramPaths::detect(QCoreApplication::applicationDirPath());
    ctx.messenger = &messenger;
    cli::readProgramSetUp(ctx);

    if (command == QLatin1String("convert"))
        return cli::convertCommand(args, ctx);
    if (command == QLatin1String("render"))
        return cli::renderCommand(args, ctx);
    if (command == QLatin1String("check"))
        return cli::checkCommand(args, ctx);
    if (command == QLatin1String("serve"))
        return cli::serveCommand(args, ctx);
    return cli::usageError(QStringLiteral("unknown command \"%1\"").arg(command));
}
