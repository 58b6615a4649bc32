#include "rendertestsupport.h"

#include <QDir>

namespace rtest {

Rig::Rig()
{
    ctx.messenger = &messenger;
    ctx.paths.tempFolder = QDir::tempPath() + QStringLiteral("/korvimo-render-tests-none/");
    doc.fileName = QStringLiteral("/data/kruispunt.kvo");
    doc.general.linewidth = 3;
    doc.general.arrowsize = 40;
    doc.general.sfactor = 1000;
    doc.general.intmin = 1;
}

const korvimo::Metafile& Rig::render(const QString& type, const QString& destination)
{
    outcome = korvimo::MaakMeta(doc, ctx, target, type, destination);
    return target;
}

QStringList Rig::drawn() const
{
    QStringList lines = target.dumpLines();
    // Header, comment, then the signature's font, brush and text.
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].startsWith(QLatin1String("TextOut")))
        ++i;
    return lines.mid(i + 1);
}

QStringList Rig::drawnOf(const QString& kind) const
{
    QStringList out;
    for (const QString& l : drawn())
        if (l.startsWith(kind + QLatin1Char(' ')))
            out.append(l);
    return out;
}

} // namespace rtest
