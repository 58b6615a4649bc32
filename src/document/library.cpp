#include "document/library.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "arms/armsfinish.h"
#include "arms/armswizard.h"
#include "core/programcontext.h"
#include "document/diagramfile.h"
#include "document/intensityreplace.h"
#include "document/libraryfiles.h"
#include "document/textfile.h"
#include "render/volumes.h"

namespace korvimo {

DiagramLibrary::DiagramLibrary(ProgramContext& ctx) : m_ctx(ctx) {}

QString DiagramLibrary::libraryPath() const
{
    if (!m_ctx.paths.libraryFile.isEmpty())
        return m_ctx.paths.libraryFile;
    return m_ctx.paths.programFolder + QStringLiteral("Lib/") + QString::fromLatin1(kProgramName)
           + QStringLiteral(".lib");
}

QString DiagramLibrary::namesFilePath() const
{
    const QString own = m_ctx.paths.languageFolder + QStringLiteral("Lib_") + m_ctx.settings.language;
    if (textfile::isReadable(own))
        return own;
    return m_ctx.paths.languageFolder + QStringLiteral("Lib_English");
}

QStringList DiagramLibrary::LibListBoxVullen()
{
    QStringList entries;
    QStringList lines;
    if (!textfile::readLines(libraryPath(), &lines)) {
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00005"), {libraryPath()}));
    } else {
        // One read of the names file for the whole list.
        const QStringList names = libfiles::readSection(namesFilePath(), QStringLiteral("[**DiagramNames**]"));
        for (const QString& code : libfiles::templateCodes(lines)) {
            if (const auto name = libfiles::diagramName(names, code))
                entries << code + QStringLiteral("   ") + *name;
        }
    }
    TekstenDiagramOphalenUitBestand();
    return entries;
}

QString DiagramLibrary::NaamDiagramOphalen(const QString& code) const
{
    const QStringList names = libfiles::readSection(namesFilePath(), QStringLiteral("[**DiagramNames**]"));
    const auto name = libfiles::diagramName(names, code);
    return name ? code + QStringLiteral("   ") + *name : QString();
}

void DiagramLibrary::TekstenDiagramOphalenUitBestand()
{
    QStringList lines;
    if (!textfile::readLines(namesFilePath(), &lines))
        return;
    const QStringList section = libfiles::sectionOf(lines, QStringLiteral("[**DiagramTexts**]"));
    for (const QString& line : section) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).toLower();
        for (int i = 0; i < kTemplateTextCount; ++i) {
            if (key == QStringLiteral("lib%1").arg(kFirstTemplateText + i, 5, 10, QLatin1Char('0')))
                m_texts[i] = libfiles::unquoted(line.mid(eq + 1));
        }
    }
}

std::optional<QString> DiagramLibrary::templateText(int number) const
{
    const int i = number - kFirstTemplateText;
    if (i < 0 || i >= kTemplateTextCount)
        return std::nullopt;
    return m_texts[i];
}

void DiagramLibrary::TekstenDiagramVertalen(GeneralVariables& g) const
{
    auto replace = [this](QString& field, std::initializer_list<int> numbers) {
        for (int n : numbers) {
            const auto text = templateText(n);
            if (text && field == QStringLiteral("LIB%1").arg(n, 5, 10, QLatin1Char('0')))
                field = *text;
        }
    };
    replace(g.title[0], {42, 43, 44, 45, 46, 52});
    replace(g.title[1], {47});
    replace(g.title[2], {48, 53});
    replace(g.title[3], {49, 54});
    replace(g.title[4], {50});
    replace(g.printheader1, {51});
}

QStringList DiagramLibrary::DiagramFromLibToStringList(const QString& code) const
{
    QStringList lines;
    if (code.isEmpty() || !textfile::readLines(libraryPath(), &lines))
        return {};
    return libfiles::templateBlock(lines, code.left(6));
}

QString DiagramLibrary::previewPicturePath(const QString& code) const
{
    const QStringList block = DiagramFromLibToStringList(code);
    if (block.isEmpty())
        return {};
    QString name = block.first();
    if (name.startsWith(QStringLiteral("bmpname="), Qt::CaseInsensitive))
        name = name.mid(8);
    if (name.isEmpty())
        return {};
    const QString path = QFileInfo(libraryPath()).absolutePath() + QLatin1Char('/') + name;
    return QFileInfo::exists(path) ? path : QString();
}

bool DiagramLibrary::OpenBestandUitLib(const QString& code, DiagramFile& files, bool leftHandTraffic)
{
    // A unique name, so that two programs opening templates at the same time
    // never read each other's file; "$1_" tells the open procedure that the
    // document keeps the untitled name.
    libfiles::ScratchFile temp(m_ctx, QStringLiteral("$1_") + QString::fromLatin1(kProgramName) + QLatin1Char('_'),
                               QStringLiteral(".tmp"));
    if (!temp.create(textfile::encodeLines(DiagramFromLibToStringList(code)))) {
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00025"), {temp.name()}));
        return false;
    }
    files.StromenBestandOpenen(temp.name());
    DiagramDocument& doc = files.document();
    doc.fileName = files.untitledName();
    files.ProgrammaCaptionUpdaten();
    // Names beside the bands for these volumes; the template stays as opened.
    if (armsWizardFinish(doc, m_ctx))
        doc.announceChanged();
    if (leftHandTraffic) {
        doc.general.arrowsize = -doc.general.arrowsize;
        callHook(files.hooks.redraw);
    }
    return true;
}

QString CoordsArmOphalenZonderHoek(const QString& arm)
{
    const int first = arm.indexOf(QLatin1Char(';'));
    const int second = first < 0 ? -1 : arm.indexOf(QLatin1Char(';'), first + 1);
    return second < 0 ? arm : arm.left(second + 1);
}

void SchaalEtcGoedZetten(DiagramFile& files)
{
    DiagramDocument& doc = files.document();
    doc.general.sfactor = sfactorForHighestVolume(highestVolume(doc.intensities));
    callHook(files.hooks.rebuildOverview);
    callHook(files.hooks.redraw);
    armsWizardApply(doc, armsWizardLoad(doc));
    if (armsWizardFinish(doc, files.context()))
        doc.markChanged();
    callHook(files.hooks.updateMenu);
    callHook(files.hooks.redraw);
}

QString odIntensityName(int a, int b, int k)
{
    if (k < 2 || a < 1 || b < 1 || a > k || b > k || a == b)
        return {};
    const int mod = ((a - b) % k + k) % k;
    return QStringLiteral("%1").arg((a - 1) * (k - 1) + mod, 4, 10, QLatin1Char('0'));
}

} // namespace korvimo
