#include "fuzz/fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <unistd.h>

#include "document/textfile.h"

namespace korvimo::fuzz {

void ensureApplication()
{
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's own warnings (pen widths, fonts) would drown the fuzzer's output.
        qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
        static int argc = 1;
        static char name[] = "korvimo-fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

QString scratchFolder()
{
    static const QString folder = [] {
        const QString f = QDir::tempPath() + QStringLiteral("/korvimo-fuzz-%1/").arg(::getpid());
        QDir().mkpath(f);
        return f;
    }();
    return folder;
}

QString writeScratch(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratchFolder() + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

Program::Program()
{
    ensureApplication();
    ctx.paths = ProgramPaths::detect(QCoreApplication::applicationDirPath());
    ctx.paths.tempFolder = scratchFolder();
    ctx.messenger = &messenger;
    library.TekstenDiagramOphalenUitBestand();
    files.setTemplateLibrary(&library);
    files.BasisInstellingenDatabestand();
    doc.fileName = files.untitledName();
}

void openAndSave(const QString& name, const uint8_t* data, size_t size)
{
    Program p;
    p.files.StromenBestandOpenen(writeScratch(name, data, size));
    (void)textfile::encodeLines(diagramFileLines(p.doc));
}

} // namespace korvimo::fuzz
