#pragma once
// A language file ("Lng/English.lng"): an INI file of plain "[Section]"
// lines and key=value lines, read whole into memory. Section names and keys
// are compared without regard to case; surrounding blanks of keys and values
// are dropped, as INI readers do; lines starting with ";" are comments. Every
// value is meant to stand between double quotes, and users of a value always
// remove its first and last character, whatever they are (stripQuotes).
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvimo {

// The value without its first and last character; empty when it has fewer
// than three. A value written without quotes therefore loses real text
// ("Opslaan" becomes "pslaa"), which is how such files have always read.
QString stripQuotes(const QString& value);

class LanguageFile {
public:
    LanguageFile() = default;

    // Reads path (Windows-1252, or Unicode with a byte-order mark). Nothing
    // when the file does not exist or cannot be read.
    static std::optional<LanguageFile> load(const QString& path);
    static LanguageFile fromText(const QString& text);
    static LanguageFile fromLines(const QStringList& lines);

    bool hasSection(const QString& section) const;
    // The raw value (quotes still on), or nothing when the key is absent.
    // The first of several equal keys counts.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Keys of a section in file order, as written.
    QStringList keys(const QString& section) const;

private:
    struct Section {
        QList<QPair<QString, QString>> entries; // key as written, value
        QHash<QString, qsizetype> index;        // lower-case key -> first entry
    };
    QHash<QString, Section> m_sections; // lower-case section name
};

// Folder + language + ".lng".
QString languageFilePath(const QString& languageFolder, const QString& language);

} // namespace korvimo
