#include "i18n/languagetexts.h"

#include <QStringList>

#include "core/programpaths.h"

namespace korvimo {

LanguageTexts::LanguageTexts()
{
    // The base texts are filled in with the language-text work.
}

QString LanguageTexts::text(const QString& key) const
{
    return m_texts.value(key.toUpper(), key);
}

QString LanguageTexts::format(const QString& key, const QStringList& args) const
{
    QString t = text(key);
    QString out;
    int next = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('%') && i + 1 < t.size()
            && (t[i + 1] == QLatin1Char('s') || t[i + 1] == QLatin1Char('d'))) {
            out += next < args.size() ? args[next] : QString();
            ++next;
            ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

void LanguageTexts::set(const QString& key, const QString& value) { m_texts.insert(key.toUpper(), value); }

QString LanguageTexts::untitledSuffix() const { return QStringLiteral("_Nieuw"); }

QString LanguageTexts::untitledName() const
{
    return QString::fromLatin1(kProgramName) + untitledSuffix() + QStringLiteral(".kvo");
}

} // namespace korvimo
