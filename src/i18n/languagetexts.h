#pragma once
// The run-time texts (messages and button captions), keyed as in the
// "Dynamic" section of a language file. Every key has a Dutch base text; a
// language file replaces the texts it names and leaves the others.
#include <QHash>
#include <QString>

namespace korvimo {

class LanguageTexts {
public:
    LanguageTexts(); // the Dutch base texts

    // The text for key; the key itself when the key is unknown, so a missing
    // text is visible instead of silently empty.
    QString text(const QString& key) const;
    // text(key) with "%s" (and "%d") replaced in order by args.
    QString format(const QString& key, const QStringList& args) const;

    void set(const QString& key, const QString& value);
    bool contains(const QString& key) const { return m_texts.contains(key.toUpper()); }

    // "_Nieuw" with Dutch texts, "_New" otherwise.
    QString untitledSuffix() const;
    // Program name + untitledSuffix() + ".kvo".
    QString untitledName() const;

private:
    QHash<QString, QString> m_texts; // keys upper-cased
};

} // namespace korvimo
