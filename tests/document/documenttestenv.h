#pragma once
// A program context with recorded messages, one document and its file
// object, and a scratch folder: what every document test starts from.
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "support/testsupport.h"

namespace test {

// Runs fn with the process's file-size limit lowered to bytes: a write
// beyond it fails (EFBIG) for every user, root included, as a full disk
// would. The signal the kernel sends for it is ignored meanwhile.
template <class Fn>
auto withFileSizeLimit(rlim_t bytes, Fn fn)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lowered = old;
    lowered.rlim_cur = bytes;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lowered);
    auto result = fn();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    return result;
}

struct DocumentEnv {
    korvimo::RecordingMessenger messages;
    korvimo::ProgramContext ctx;
    korvimo::DiagramDocument doc;
    korvimo::DiagramFile file{ctx, doc};
    QTemporaryDir dir;

    DocumentEnv()
    {
        ctx.messenger = &messages;
        // The texts the document code shows, so that the tests read like the
        // program does whatever the base texts hold.
        ctx.texts.set(QStringLiteral("AA00001"), QStringLiteral("Kan bestand %s niet opslaan."));
        ctx.texts.set(QStringLiteral("AA00002"), QStringLiteral("Versie 1 (%s)"));
        ctx.texts.set(QStringLiteral("AA00003"), QStringLiteral("Nieuwere versie van %s / %s"));
        ctx.texts.set(QStringLiteral("AA00005"), QStringLiteral("Kan bestand %s niet openen."));
        ctx.texts.set(QStringLiteral("AA00006"), QStringLiteral("Bestand \"%s\" bestaat al."));
        ctx.texts.set(QStringLiteral("AA00194"), QStringLiteral("Bestand opslaan?"));
        ctx.texts.set(QStringLiteral("AA00195"), QStringLiteral("Bestand overschrijven?"));
        ctx.texts.set(QStringLiteral("AA00196"), QStringLiteral("Bestand \"%s\" is gewijzigd."));
        file.BasisInstellingenDatabestand();
        doc.fileName = file.untitledName();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Writes bytes to a scratch file and returns its path.
    QString put(const QString& name, const QByteArray& bytes) const
    {
        const QString p = path(name);
        writeAll(p, bytes);
        return p;
    }
};

} // namespace test
