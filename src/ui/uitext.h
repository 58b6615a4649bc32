#pragma once
// A run-time text by its key, with the Dutch base text as fallback for the
// time a key is not yet among the language texts.
#include <QString>

#include "i18n/languagetexts.h"

namespace korvimo {

inline QString uiText(const LanguageTexts& texts, const char* key, const QString& base)
{
    const QString k = QString::fromLatin1(key);
    return texts.contains(k) ? texts.text(k) : base;
}

} // namespace korvimo
