#include "i18n/languagefile.h"

#include "document/textfile.h"

namespace korvimo {

QString stripQuotes(const QString& value)
{
    if (value.size() < 3)
        return {};
    return value.mid(1, value.size() - 2);
}

std::optional<LanguageFile> LanguageFile::load(const QString& path)
{
    QStringList lines;
    if (!textfile::readLines(path, &lines)) // also refuses what is no regular file
        return std::nullopt;
    return fromLines(lines);
}

LanguageFile LanguageFile::fromText(const QString& text)
{
    return fromLines(textfile::splitLines(text));
}

LanguageFile LanguageFile::fromLines(const QStringList& lines)
{
    LanguageFile file;
    Section* current = nullptr; // key lines before any section belong nowhere
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            // A section named twice continues the first one.
            current = &file.m_sections[line.mid(1, line.size() - 2).trimmed().toLower()];
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString lower = key.toLower();
        if (current->index.contains(lower))
            continue;
        current->index.insert(lower, current->entries.size());
        current->entries.append({key, line.mid(eq + 1).trimmed()});
    }
    return file;
}

bool LanguageFile::hasSection(const QString& section) const
{
    return m_sections.contains(section.toLower());
}

std::optional<QString> LanguageFile::value(const QString& section, const QString& key) const
{
    const auto s = m_sections.constFind(section.toLower());
    if (s == m_sections.cend())
        return std::nullopt;
    const auto at = s->index.constFind(key.trimmed().toLower());
    if (at == s->index.cend())
        return std::nullopt;
    return s->entries[*at].second;
}

QStringList LanguageFile::keys(const QString& section) const
{
    QStringList out;
    const auto s = m_sections.constFind(section.toLower());
    if (s != m_sections.cend()) {
        for (const auto& e : s->entries)
            out << e.first;
    }
    return out;
}

QString languageFilePath(const QString& languageFolder, const QString& language)
{
    QString folder = languageFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + language + QStringLiteral(".lng");
}

} // namespace korvimo
