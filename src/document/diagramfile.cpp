#include "document/diagramfile.h"

#include <QFileInfo>
#include <algorithm>

#include "core/inputfile.h"
#include "core/programcontext.h"
#include "document/diagramprobe.h"
#include "document/integertext.h"
#include "document/intensityreplace.h"
#include "document/leftoutdata.h"
#include "document/templatelibrary.h"
#include "document/textfile.h"
#include "render/volumes.h"

namespace korvimo {

namespace {

const QString kGeneralHeader = QStringLiteral("[**General variables**]");
const QString kScriptHeader = QStringLiteral("[**Script**]");
const QString kCoordinatesHeader = QStringLiteral("[**Coordinates**]");
const QString kIntensitiesHeader = QStringLiteral("[**Intensities**]");
const QString kNotesHeader = QStringLiteral("[**Notes**]");

bool isSectionStart(const QString& line) { return line.startsWith(QLatin1String("[**")); }

// Index of the line after the first exact header line; -1 when missing.
qsizetype sectionBody(const QStringList& lines, const QString& header)
{
    const qsizetype at = lines.indexOf(header);
    return at < 0 ? -1 : at + 1;
}

void appendListSection(const QStringList& lines, const QString& header, QStringList& into)
{
    qsizetype i = sectionBody(lines, header);
    if (i < 0)
        return;
    for (; i < lines.size() && !isSectionStart(lines[i]); ++i) {
        if (!lines[i].isEmpty())
            into.append(lines[i]);
    }
}

// A line of a list may not break into two lines of the file: that could even
// open a section of its own.
QString oneLine(QString line)
{
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) {
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return line;
}

void appendListLines(QStringList& out, const QStringList& list)
{
    for (const QString& l : list) {
        const QString line = oneLine(l);
        // The reader drops empty list lines; writing them would only make a
        // second save differ from the first.
        if (!line.isEmpty())
            out.append(line);
    }
}

struct BusyCursor {
    const DocumentHooks& hooks;
    explicit BusyCursor(const DocumentHooks& h) : hooks(h) { callHook(hooks.setBusy, true); }
    ~BusyCursor() { callHook(hooks.setBusy, false); }
};

struct Nesting {
    int& depth;
    explicit Nesting(int& d) : depth(d) { ++depth; }
    ~Nesting() { --depth; }
};

} // namespace

QStringList diagramFileLines(const DiagramDocument& doc)
{
    QStringList out;
    out.reserve(doc.script.size() + doc.coordinates.size() + doc.intensities.size() + doc.notes.size()
                + 128);
    out.append(kGeneralHeader);
    for (const QString& l : generalVariableLines(doc.general))
        out.append(oneLine(l));
    out.append(kScriptHeader);
    appendListLines(out, doc.script);
    out.append(kCoordinatesHeader);
    appendListLines(out, doc.coordinates);
    out.append(kIntensitiesHeader);
    appendListLines(out, doc.intensities);
    out.append(kNotesHeader);
    for (const QString& l : doc.notes) {
        // A notes line with a line break in it is two notes lines.
        if (l.contains(QLatin1Char('\r')) || l.contains(QLatin1Char('\n')))
            out.append(textfile::splitLines(l));
        else
            out.append(l);
    }
    return out;
}

void readDiagramLines(const QStringList& lines, DiagramDocument& doc, int* fileVersion)
{
    qsizetype i = sectionBody(lines, kGeneralHeader);
    if (i >= 0) {
        for (; i < lines.size() && !isSectionStart(lines[i]); ++i)
            applyGeneralVariableLine(doc.general, lines[i], fileVersion);
    }
    appendListSection(lines, kScriptHeader, doc.script);
    appendListSection(lines, kCoordinatesHeader, doc.coordinates);
    appendListSection(lines, kIntensitiesHeader, doc.intensities);
    i = sectionBody(lines, kNotesHeader);
    if (i >= 0) {
        for (; i < lines.size(); ++i)
            doc.notes.append(lines[i]);
    }
    doc.notesChanged = false;
}

QString versie2TemplateCode(const QString& diagramType)
{
    static const struct {
        const char* type;
        const char* code;
    } kTypes[] = {
        {"234-kruispunt", "011301"}, {"134-kruispunt", "011302"}, {"124-kruispunt", "011303"},
        {"123-kruispunt", "011304"}, {"1234-kruispunt", "011400"}, {"234-rotonde", "020301"},
        {"134-rotonde", "020302"},   {"124-rotonde", "020303"},   {"123-rotonde", "020304"},
        {"1234-rotonde", "020400"},  {"", "011400"},
    };
    for (const auto& t : kTypes) {
        if (diagramType == QLatin1String(t.type))
            return QString::fromLatin1(t.code);
    }
    return {};
}

DiagramFile::DiagramFile(ProgramContext& ctx, DiagramDocument& doc)
    : m_ctx(ctx), m_doc(doc), m_importReaders(standardImportReaders())
{
}

void DiagramFile::setImportReader(const QString& extension, ImportReader reader)
{
    m_importReaders.insert(extension.toLower(), std::move(reader));
}

QString DiagramFile::untitledName() const { return m_ctx.texts.untitledName(); }

void DiagramFile::ProgrammaCaptionUpdaten() { callHook(hooks.setCaption, programmaCaption(m_doc.fileName)); }

void DiagramFile::BasisInstellingenDatabestand()
{
    m_doc.general = GeneralVariables::defaults(m_ctx.settings);
    callHook(hooks.resetViewState);
}

OpenResult DiagramFile::readByType(const QString& name)
{
    const QString ext = QLatin1Char('.') + QFileInfo(name).suffix().toLower();
    if (ext == QLatin1String(".in") || ext == QLatin1String(".csv") || ext == QLatin1String(".kvoimp")) {
        const auto it = m_importReaders.constFind(ext);
        if (it == m_importReaders.cend() || !*it) {
            m_ctx.messages().error(QStringLiteral("%1: no reader for %2 files is available.").arg(name, ext));
            return OpenResult::NoReader;
        }
        (*it)(name, *this);
        return OpenResult::Read;
    }
    const QString first = textfile::firstLine(name);
    if (first == QLatin1String("100")) {
        m_ctx.messages().warning(m_ctx.texts.format(QStringLiteral("AA00002"), {QString::fromLatin1(kProgramName)}));
        return OpenResult::Version1;
    }
    if (first == QLatin1String("210"))
        Versie2BestandOpenen(name);
    else
        Versie3BestandOpenen(name);
    return OpenResult::Read;
}

bool DiagramFile::refuseNonDiagram(const QString& name)
{
    const QString why = notADiagramReason(name, m_ctx, m_library);
    if (why.isEmpty())
        return false;
    m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00197"), {name, why}));
    return true;
}

void DiagramFile::reportLeftOut(const QString& source, const QStringList& items)
{
    if (items.isEmpty())
        return;
    m_ctx.messages().warning(leftOutMessage(m_ctx, source, items));
    m_dataLeftOut = true;
}

OpenResult DiagramFile::StromenBestandOpenen(const QString& name)
{
    Nesting nesting(m_depth);
    OpenResult result = OpenResult::Read;
    // Only a file someone chose is judged, not the temporary files ("$1_")
    // that the library and the import requests open for themselves: an
    // unknown template is an empty one, without a word.
    const bool ownTemporary = QFileInfo(name).fileName().startsWith(QLatin1String("$1_"));
    if (m_depth == 1)
        m_dataLeftOut = false;
    const InputCheck input = checkInputFile(name);
    if (m_depth > kMaxOpenNesting) {
        // A library template that is itself a version-2 file naming a
        // template opens the library again, and so on without end: each
        // level holds its file and its temporary file. Real files nest two
        // or three deep.
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00215"), {name}));
        result = OpenResult::CannotOpen;
    } else if (!input.ok()) {
        // A FIFO or device would block or never end, a huge file would fill
        // the memory: neither is opened, and the user is told which it was.
        const QString key = input.problem == InputProblem::NotRegular ? QStringLiteral("AA00210")
                            : input.problem == InputProblem::TooLarge ? QStringLiteral("AA00211")
                                                                      : QStringLiteral("AA00005");
        m_ctx.messages().error(
            m_ctx.texts.format(key, {name, QString::number(kMaxInputFileBytes / (1024 * 1024))}));
        result = OpenResult::CannotOpen;
    } else if (m_depth == 1 && !ownTemporary && refuseNonDiagram(name)) {
        return OpenResult::NotADiagram;
    } else {
        if (const qsizetype line = textfile::firstOverlongLine(name))
            m_ctx.messages().warning(m_ctx.texts.format(
                QStringLiteral("AA00212"), {name, QString::number(line), QString::number(textfile::kMaxLineChars)}));
        BusyCursor busy(hooks);
        try {
            result = readByType(name);
        } catch (const ConversionError& e) {
            if (m_depth > 1)
                throw;
            m_ctx.messages().error(e.text());
            m_doc.announceChanged();
            return OpenResult::Malformed;
        }
    }

    if (m_library)
        m_library->translateTitles(m_doc.general);

    m_doc.fileName = name;
    const QString ext = QFileInfo(name).suffix().toLower();
    if (ext == QLatin1String("in") || ext == QLatin1String("csv") || ext == QLatin1String("kvoimp") || ownTemporary)
        m_doc.fileName = untitledName();

    ProgrammaCaptionUpdaten();
    m_doc.setModified(false);
    callHook(hooks.rebuildOverview);
    callHook(hooks.zoomAll);
    callHook(hooks.redraw);
    callHook(hooks.updateMenu);
    m_doc.announceChanged();
    if (m_doc.general.shownotesdialog)
        callHook(hooks.showNotesDialog);
    if (m_depth == 1 && m_dataLeftOut && result == OpenResult::Read)
        return OpenResult::DataLeftOut;
    return result;
}

void DiagramFile::Versie3BestandOpenen(const QString& name)
{
    QStringList lines;
    textfile::readLines(name, &lines);
    int fileVersion = 0;
    // Only the general variables hold numbers, so a malformed one stops the
    // reading before any list line is taken, and before the version warning.
    readDiagramLines(lines, m_doc, &fileVersion);
    if (fileVersion > kCurrentFileVersion) {
        const QString program = QString::fromLatin1(kProgramName);
        m_ctx.messages().warning(m_ctx.texts.format(QStringLiteral("AA00003"), {program, program}));
    }
}

void DiagramFile::Versie2BestandOpenen(const QString& name)
{
    // The version-2 file is read through a list of its own: the library opens
    // a template through the open procedure while this file is being read.
    QStringList lines;
    textfile::readLines(name, &lines);
    struct OverviewHidden {
        const DocumentHooks& hooks;
        explicit OverviewHidden(const DocumentHooks& h) : hooks(h) { callHook(hooks.setOverviewDrawingVisible, false); }
        ~OverviewHidden() { callHook(hooks.setOverviewDrawingVisible, true); }
    } hidden(hooks);

    const QString code = versie2TemplateCode(lines.value(1));
    if (!code.isEmpty() && m_library)
        m_library->openTemplate(code, *this);

    GeneralVariables& gv = m_doc.general;
    QString* const texts[] = {&gv.title[0],      &gv.title[1],      &gv.streetname[0],
                              &gv.streetname[1], &gv.streetname[2], &gv.streetname[3]};
    for (int i = 0; i < 6; ++i) {
        if (2 + i < lines.size())
            *texts[i] = lines[2 + i];
    }

    static const char* const kVolumeNames[12] = {"0003", "0002", "0001", "0004", "0006", "0005",
                                                 "0008", "0007", "0009", "0012", "0011", "0010"};
    for (int i = 0; i < 12; ++i) {
        if (8 + i < lines.size())
            IntensiteitVervangen(m_doc.intensities, QString::fromLatin1(kVolumeNames[i]), lines[8 + i]);
    }

    gv.sfactor = 1000;
    if (lines.size() > 20 && !lines[20].isEmpty()) {
        // The old scale was a sixth of today's; clamp to the scale's range
        // rather than let the product overflow.
        const long long scaled = static_cast<long long>(toInteger(lines[20])) * 6;
        gv.sfactor = int(std::clamp(scaled, 0LL, 999999999LL));
    } else {
        gv.sfactor = sfactorForHighestVolume(highestVolume(m_doc.intensities));
    }
}

bool DiagramFile::StromenBestandOpslaan(const QString& name)
{
    BusyCursor busy(hooks);
    QString reason;
    if (!textfile::writeLines(name, diagramFileLines(m_doc), &reason)) {
        // The fixed text only guesses; the system's reason tells the user what happened.
        m_ctx.messages().error(m_ctx.texts.format(QStringLiteral("AA00001"), {name}) + QStringLiteral("\r\n\r\n")
                               + reason);
        return false;
    }
    m_doc.setModified(false);
    callHook(hooks.updateMenu);
    return true;
}

} // namespace korvimo
