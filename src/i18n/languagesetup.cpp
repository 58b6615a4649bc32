#include "i18n/languagesetup.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "core/messenger.h"
#include "core/programpaths.h"
#include "i18n/languagetexts.h"
#include "settings/programsettings.h"

namespace korvimo {

namespace {

const QString kDynamic = QStringLiteral("Dynamic");

QStringList sortedUnique(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList out;
    for (const QString& n : names) {
        if (out.isEmpty() || out.last().compare(n, Qt::CaseInsensitive) != 0)
            out << n;
    }
    return out;
}

} // namespace

bool DynamischeTekstenLezenUitIni(ProgramSettings& settings, LanguageTexts& texts, const QString& languageFolder,
                                  const QString& language)
{
    if (isBaseLanguage(language))
        return false;
    const std::optional<LanguageFile> file = LanguageFile::load(languageFilePath(languageFolder, language));
    if (!file)
        return false;
    settings.language = language;
    for (const QString& key : LanguageTexts::keys()) {
        const std::optional<QString> v = file->value(kDynamic, key);
        if (v)
            texts.set(key, convertLineBreaks(stripQuotes(*v)));
    }
    return true;
}

std::optional<LanguageFile> windowTranslationFile(const QString& languageFolder, const QString& language)
{
    if (isBaseLanguage(language))
        return std::nullopt;
    return LanguageFile::load(languageFilePath(languageFolder, language));
}

void setUpLanguageTexts(ProgramSettings& settings, LanguageTexts& texts, const QString& languageFolder)
{
    texts.VasteTekstenInstellen(settings.language);
    texts.InstellenDynamischeTekstenBasis();
    if (!DynamischeTekstenLezenUitIni(settings, texts, languageFolder, settings.language))
        texts.VasteTekstenInstellen(QLatin1String(kBaseLanguage));
}

QString webLinksCaption(const LanguageTexts& texts)
{
    return texts.format(QStringLiteral("AA00040"), {texts.fixed().makerName});
}

QStringList availableLanguages(const QString& languageFolder, bool* folderFound)
{
    QStringList names{QLatin1String(kBaseLanguage)};
    const QDir dir(languageFolder);
    const bool found = dir.exists();
    if (folderFound)
        *folderFound = found;
    if (found) {
        for (const QFileInfo& f : dir.entryInfoList(QDir::Files | QDir::Readable)) {
            const QString name = f.fileName();
            // Only the extension goes: "a.lng.lng" is the language "a.lng".
            if (name.size() > 4 && name.endsWith(QLatin1String(".lng"), Qt::CaseInsensitive))
                names << name.left(name.size() - 4);
        }
    }
    return sortedUnique(names);
}

QStringList availableHelpNames(const QString& helpFolder, bool* folderFound)
{
    QStringList names;
    const QDir dir(helpFolder);
    const bool found = dir.exists();
    if (folderFound)
        *folderFound = found;
    if (found)
        names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return sortedUnique(names);
}

QString StelTaalInHelp(ProgramSettings& settings, const ProgramPaths& paths, const QString& name)
{
    settings.languageHelp = name;
    return paths.helpFolder + name + QLatin1Char('/');
}

void languageDialogClosed(ProgramSettings& settings) { settings.languageSet = true; }

LanguageChoice applyLanguageChoice(ProgramSettings& settings, LanguageTexts& texts, const ProgramPaths& paths,
                                   bool languageSetBefore, const QString& language, const QString& helpName,
                                   Messenger& messenger)
{
    LanguageChoice choice;
    if (!language.isEmpty()) {
        // Without a file the texts in effect stay, and so do their fixed texts.
        if (DynamischeTekstenLezenUitIni(settings, texts, paths.languageFolder, language))
            texts.VasteTekstenInstellen(settings.language);
        choice.translateWindows = true;
        if (isBaseLanguage(language) && languageSetBefore) {
            messenger.information(texts.restartMessage());
            settings.language = QLatin1String(kBaseLanguage);
        }
    }
    if (!helpName.isEmpty())
        choice.helpFolder = StelTaalInHelp(settings, paths, helpName);
    return choice;
}

} // namespace korvimo
