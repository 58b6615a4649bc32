// A language file: read as the start-up reads it, for the run-time texts and
// for the window texts.
#include <QDir>

#include "fuzz/fuzzsupport.h"
#include "i18n/languagefile.h"
#include "i18n/languagesetup.h"
#include "i18n/languagetexts.h"

using namespace korvimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString folder = fuzz::scratchFolder() + QStringLiteral("Lng/");
    QDir().mkpath(folder);
    const QString path = fuzz::writeScratch(QStringLiteral("Lng/Fuzz.lng"), data, size);
    if (const auto file = LanguageFile::load(path)) {
        for (const QString& section : {QStringLiteral("Dynamic"), QStringLiteral("HoofdForm")})
            for (const QString& key : file->keys(section))
                (void)stripQuotes(file->value(section, key).value_or(QString()));
    }
    ProgramSettings settings;
    LanguageTexts texts;
    DynamischeTekstenLezenUitIni(settings, texts, folder, QStringLiteral("Fuzz"));
    (void)texts.format(QStringLiteral("AA00005"), {QStringLiteral("x")});
    (void)windowTranslationFile(folder, QStringLiteral("Fuzz"));
    return 0;
}
