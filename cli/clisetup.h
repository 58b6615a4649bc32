#pragma once
// What korvimo-cli takes from the user's set-up before any command runs:
// the program settings file, read as the desktop program reads it (so the
// arc settings, the export defaults and the separators apply here too), and
// the language of the run-time texts, so that every message of one run is in
// one language.
#include "core/programcontext.h"

namespace korvimo::cli {

// Reads ctx.paths.settingsFile into ctx.settings (a missing file gives the
// defaults) and sets up the texts in the language it names. A terminal has
// no language dialog: until a language was chosen in the program, English
// is used (the base texts when its file is missing).
void readProgramSetUp(ProgramContext& ctx);

} // namespace korvimo::cli
