#pragma once
// The run-time texts (messages, button captions, list headers), keyed as in
// the "Dynamic" section of a language file, and the fixed texts that no
// language file changes. Every key has a Dutch base text; a language file
// replaces the texts it names and leaves the others as they are.
#include <QHash>
#include <QString>
#include <QStringList>

namespace korvimo {

// The language compiled into the program; its name is also a list entry of
// the language dialog although no file exists for it.
inline constexpr const char* kBaseLanguage = "Nederlands";
bool isBaseLanguage(const QString& language);

// The two characters "\n" stand for a line break (CR LF) in run-time texts.
QString convertLineBreaks(const QString& text);

// Texts set for the current language by code, never read from a language
// file. The messages hold "%s" where LanguageTexts::fillIn puts the argument.
struct FixedTexts {
    QString fileNotFound;   // "File not found: %s"
    QString folderNotFound; // "Folder not found: %s"
    QString restart;        // both %s: the program name
    QString buildLine;      // "Build: %s"
    QString versionLine;    // "Versie %s" / "Version %s"
    QString readMeFileName; // "LeesMij.txt" / "ReadMe.txt"
    QString untitledBaseName; // program name + "_Nieuw" / "_New"
    QString rightsNotice;
    QString makerName;
    QString contactAddress;
    QString webAddress;
};

class LanguageTexts {
public:
    // Base texts and the fixed texts of the base language.
    LanguageTexts();

    // The text for key (any letter case); the key itself when the key is
    // unknown, so a missing text is visible instead of silently empty.
    QString text(const QString& key) const;
    // text(key) with "%s" (and "%d") replaced in order by args; a
    // placeholder without an argument becomes empty.
    QString format(const QString& key, const QStringList& args) const;
    static QString fillIn(const QString& pattern, const QStringList& args);

    // Stores value as it is (no "\n" conversion: callers that read files
    // convert first).
    void set(const QString& key, const QString& value);
    bool contains(const QString& key) const { return m_texts.contains(key.toUpper()); }

    // The keys of the run-time table in their fixed order, and their base
    // texts (with line breaks already converted); empty for an unknown key.
    static const QStringList& keys();
    static QString baseText(const QString& key);

    // Every run-time text back to its base text.
    void InstellenDynamischeTekstenBasis();
    // The fixed texts for language; the base language gives the Dutch forms,
    // any other the English ones.
    void VasteTekstenInstellen(const QString& language);
    const FixedTexts& fixed() const { return m_fixed; }
    // The language the fixed texts were last set for.
    QString fixedLanguage() const { return m_fixedLanguage; }

    // "_Nieuw" with the base language, "_New" otherwise.
    QString untitledSuffix() const;
    // Program name + untitledSuffix() + ".kvo".
    QString untitledName() const;

    QString fileNotFoundMessage(const QString& path) const;
    QString folderNotFoundMessage(const QString& folder) const;
    QString restartMessage() const; // the program name filled in twice
    QString buildLine(const QString& build) const;
    QString versionLine(const QString& version) const;
    QString readMeFileName() const { return m_fixed.readMeFileName; }

private:
    QHash<QString, QString> m_texts; // keys upper-cased
    FixedTexts m_fixed;
    QString m_fixedLanguage;
};

} // namespace korvimo
