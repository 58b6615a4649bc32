#include "settings/settingsfile.h"

#include <QDir>
#include <QFileInfo>

#include "core/messenger.h"
#include "core/programpaths.h"
#include "i18n/languagetexts.h"
#include "document/integertext.h"
#include "document/textfile.h"

namespace korvimo {

namespace {

const QString kGeneralHeader = QStringLiteral("[**General variables**]");
const QString kPositionsHeader = QStringLiteral("[**Form positions**]");

// One key of the general section. Exactly one of the member pointers is set,
// or colour >= 0 for a basic colour.
struct Field {
    QString key; // as written
    QString ProgramSettings::*text = nullptr;
    int ProgramSettings::*number = nullptr;
    bool ProgramSettings::*flag = nullptr;
    int colour = -1;
    bool writeOnly = false;
};

Field textField(const char* key, QString ProgramSettings::*m)
{
    Field f;
    f.key = QLatin1String(key);
    f.text = m;
    return f;
}

Field numberField(const char* key, int ProgramSettings::*m, bool writeOnly = false)
{
    Field f;
    f.key = QLatin1String(key);
    f.number = m;
    f.writeOnly = writeOnly;
    return f;
}

Field flagField(const char* key, bool ProgramSettings::*m, bool writeOnly = false)
{
    Field f;
    f.key = QLatin1String(key);
    f.flag = m;
    f.writeOnly = writeOnly;
    return f;
}

// In the order of the file.
const QList<Field>& fields()
{
    static const QList<Field> all = [] {
        using S = ProgramSettings;
        QList<Field> f{
            textField("Language", &S::language),
            flagField("LanguageSet", &S::languageSet),
            textField("LanguageHelp", &S::languageHelp),
            numberField("CoordsInterval", &S::coordsInterval),
            numberField("ZoomInOutValue", &S::zoomInOutValue),
            flagField("Arc22ArcsAllowed", &S::arc22ArcsAllowed),
            numberField("Arc22ArcsValue", &S::arc22ArcsValue),
            numberField("DrawMethodScreen", &S::drawMethodScreen),
            flagField("AutoRedrawScale", &S::autoRedrawScale),
            numberField("ArcCorrectionWin9x", &S::arcCorrectionWin9x),
            textField("FontNameDefault", &S::fontNameDefault),
            numberField("FontSizeDefault", &S::fontSizeDefault),
            numberField("MaxDiagramWidth", &S::maxDiagramWidth),
            numberField("MaxDiagramHeight", &S::maxDiagramHeight),
            textField("CopyType", &S::copyType),
            numberField("CopyFactor", &S::copyFactor),
            numberField("CopyPixWidth", &S::copyPixWidth),
            flagField("CopyPixAntiAliased", &S::copyPixAntiAliased),
            textField("PrintType", &S::printType),
            numberField("PrintBmpSize", &S::printBmpSize),
            numberField("PrintBmpColors", &S::printBmpColors),
            flagField("StartShowNewForm", &S::startShowNewForm),
            textField("CSVsep", &S::csvSep),
            numberField("ExportType", &S::exportType),
            numberField("ExportBmpSize", &S::exportBmpSize),
            // Lower case in the file, as files written before always had it.
            flagField("exportpixantialiased", &S::exportPixAntiAliased),
            // The main window's own state is kept for outside readers only;
            // its position comes back through the window-position list.
            flagField("MainWindowMaximized", &S::mainWindowMaximized, true),
            numberField("MainWindowLeft", &S::mainWindowLeft, true),
            numberField("MainWindowTop", &S::mainWindowTop, true),
            numberField("MainWindowWidth", &S::mainWindowWidth, true),
            numberField("MainWindowHeight", &S::mainWindowHeight, true),
        };
        for (int i = 0; i < 16; ++i) {
            Field c;
            c.key = QStringLiteral("BasicColor%1").arg(i + 1, 4, 10, QLatin1Char('0'));
            c.colour = i;
            f << c;
        }
        f << numberField("InterfaceTheme", &S::interfaceTheme)
          << numberField("DrawingBgDarkColor", &S::drawingBgDarkColor)
          << flagField("LibLeftHandTraffic", &S::libLeftHandTraffic)
          << flagField("ComposeZoomExtended", &S::composeZoomExtended)
          << numberField("CompareIncreaseColor", &S::compareIncreaseColor)
          << numberField("CompareDecreaseColor", &S::compareDecreaseColor)
          << flagField("ComparePercentages", &S::comparePercentages)
          << flagField("CompareZeroLabels", &S::compareZeroLabels)
          << textField("VolumeClasses", &S::volumeClasses)
          << textField("VolumeShareClass", &S::volumeShareClass)
          << flagField("KeepTextsUpright", &S::keepTextsUpright)
          << flagField("PlaceNamesClear", &S::placeNamesClear)
          << flagField("ExportCachedGlyphs", &S::exportCachedGlyphs)
          << flagField("RingFollowsArms", &S::ringFollowsArms);
        return f;
    }();
    return all;
}

QString valueOf(const ProgramSettings& s, const Field& f)
{
    if (f.text)
        return s.*f.text;
    if (f.number)
        return QString::number(s.*f.number);
    if (f.flag)
        return s.*f.flag ? QStringLiteral("1") : QStringLiteral("0");
    return QString::number(s.basicColors[size_t(f.colour)]);
}

void assign(ProgramSettings& s, const Field& f, const QString& value)
{
    if (f.text) {
        s.*f.text = value;
    } else if (f.flag) {
        s.*f.flag = value == QLatin1String("1");
    } else {
        // Only the program writes this file; a number it cannot read is
        // treated like a missing key rather than stopping the start.
        const std::optional<int> v = parseInteger(value);
        if (!v)
            return;
        if (f.number)
            s.*f.number = *v;
        else
            s.basicColors[size_t(f.colour)] = *v;
    }
}

const Field* readableField(const QString& key)
{
    for (const Field& f : fields()) {
        if (!f.writeOnly && f.key.compare(key, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

} // namespace

void readSettingsLines(ProgramSettings& settings, const QStringList& lines)
{
    const qsizetype general = lines.indexOf(kGeneralHeader);
    if (general >= 0) {
        // Every later line is looked at, the window positions among them:
        // they name no known key and change nothing. A repeated key: the
        // later line wins.
        for (qsizetype i = general + 1; i < lines.size(); ++i) {
            const QString& line = lines[i];
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq < 0)
                continue;
            if (const Field* f = readableField(line.left(eq)))
                assign(settings, *f, line.mid(eq + 1));
        }
    }
    const qsizetype positions = lines.indexOf(kPositionsHeader);
    if (positions >= 0) {
        for (qsizetype i = positions + 1; i < lines.size(); ++i) {
            settings.formPositions << lines[i];
            if (lines[i].startsWith(QLatin1String("[**")))
                break;
        }
    }
}

bool ProgInstellingenOphalen(ProgramSettings& settings, const QString& path)
{
    settings = ProgramSettings();
    QStringList lines;
    if (!textfile::readLines(path, &lines))
        return false;
    readSettingsLines(settings, lines);
    return true;
}

QStringList settingsFileLines(const ProgramSettings& settings)
{
    QStringList lines;
    lines << QStringLiteral("[%1 settings]").arg(QLatin1String(kProgramName)) << QString() << kGeneralHeader;
    for (const Field& f : fields())
        lines << f.key + QLatin1Char('=') + valueOf(settings, f);
    lines << QString() << kPositionsHeader;
    for (const QString& entry : settings.formPositions) {
        if (!entry.isEmpty())
            lines << entry;
    }
    lines << QString();
    return lines;
}

QByteArray settingsFileBytes(const ProgramSettings& settings)
{
    return textfile::encodeLines(settingsFileLines(settings));
}

bool writeSettingsFile(const ProgramSettings& settings, const QString& path, QString* error)
{
    // The settings folder is the program's own: made on the first exit.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("Cannot create folder %1").arg(folder);
        return false;
    }
    return textfile::writeBytes(path, settingsFileBytes(settings), error);
}

bool ProgInstellingenOpslaan(ProgramSettings& settings, const QList<WindowPlacement>& windows,
                             const QString& path, const LanguageTexts& texts, Messenger& messenger)
{
    for (const WindowPlacement& w : windows)
        collectWindowPosition(settings.formPositions, w);
    if (writeSettingsFile(settings, path))
        return true;
    messenger.error(texts.format(QStringLiteral("AA00028"), {path}));
    return false;
}

} // namespace korvimo
