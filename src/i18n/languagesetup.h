#pragma once
// Choosing the language: reading the run-time texts of a language file, the
// start-up sequence, the lists of the language dialog and what its OK button
// does. The windows themselves are translated by the desktop shell with
// windowtranslation.h; these functions tell it when.
#include <QString>
#include <QStringList>
#include <optional>

#include "i18n/languagefile.h"
#include "settings/programsettings.h"

namespace korvimo {

class LanguageTexts;
class Messenger;
struct ProgramPaths;

// Replaces every run-time text by its value in section "Dynamic" of the
// language's file, when the language is not the base language and its file
// exists; the Language setting then becomes language. A key the file lacks
// keeps the current text; a key present gives its value with the first and
// last character removed and "\n" turned into a line break ("" empties the
// text). Returns whether a file was read; otherwise nothing changes.
bool DynamischeTekstenLezenUitIni(ProgramSettings& settings, LanguageTexts& texts,
                                  const QString& languageFolder, const QString& language);

// The file whose window texts VertaalSchermen applies for language: nothing
// for the base language or a missing file.
std::optional<LanguageFile> windowTranslationFile(const QString& languageFolder, const QString& language);

// The start-up order: fixed texts, base texts, then the run-time texts of
// the Language setting. The fixed texts (among them the untitled name) end
// up in the language whose texts are in effect: when the chosen language has
// no file, the Dutch texts stay and so do the Dutch fixed texts.
void setUpLanguageTexts(ProgramSettings& settings, LanguageTexts& texts, const QString& languageFolder);

// SelectAndTranslateForms: the language dialog comes first at start-up
// until a language has been chosen once.
inline bool languageDialogAtStartUp(const ProgramSettings& settings);

// The caption of the web-links menu item, its toolbar hint and the web-links
// window: AA00040 with the maker's name.
QString webLinksCaption(const LanguageTexts& texts);

// The language dialog's " Program: " list: "Nederlands" and the name of
// every ".lng" file (extension in any letter case, the name's own case
// kept), sorted without regard to case, each name once. folderFound is set
// to whether the folder exists (the caller reports "Folder not found: %s").
QStringList availableLanguages(const QString& languageFolder, bool* folderFound = nullptr);
// The " Help: " list: the help sets, one folder of pages each, sorted.
QStringList availableHelpNames(const QString& helpFolder, bool* folderFound = nullptr);

// StelTaalInHelp: LanguageHelp := name; returns the folder of that help set.
QString StelTaalInHelp(ProgramSettings& settings, const ProgramPaths& paths, const QString& name);

// What the language dialog's OK did, for the shell to finish.
struct LanguageChoice {
    bool translateWindows = false; // run VertaalSchermen with the language
    QString helpFolder;            // set when a help name was chosen
};

// The language dialog's closing (by any button) and OK. languageSetBefore is
// LanguageSet as it was when the dialog opened for this OK. Choosing the
// base language after an earlier choice shows the restart message and sets
// Language back, so the Dutch texts return at the next start. An empty
// language or help name means nothing was selected in that list.
void languageDialogClosed(ProgramSettings& settings);
LanguageChoice applyLanguageChoice(ProgramSettings& settings, LanguageTexts& texts, const ProgramPaths& paths,
                                   bool languageSetBefore, const QString& language, const QString& helpName,
                                   Messenger& messenger);

inline bool languageDialogAtStartUp(const ProgramSettings& settings) { return !settings.languageSet; }

} // namespace korvimo
