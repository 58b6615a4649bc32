#include "cli/clisetup.h"

#include "i18n/languagesetup.h"
#include "settings/settingsfile.h"

namespace korvimo::cli {

void readProgramSetUp(ProgramContext& ctx)
{
    ProgInstellingenOphalen(ctx.settings, ctx.paths.settingsFile);
    if (!ctx.settings.languageSet)
        ctx.settings.language = QStringLiteral("English");
    setUpLanguageTexts(ctx.settings, ctx.texts, ctx.paths.languageFolder);
}

} // namespace korvimo::cli
