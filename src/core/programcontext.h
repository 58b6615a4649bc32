#pragma once
// The one program-wide state object. It is created by the program entry and
// handed to whoever needs it; nothing reaches it through a global.
#include <QString>

#include "core/messenger.h"
#include "core/programpaths.h"
#include "i18n/languagetexts.h"
#include "settings/programsettings.h"

namespace korvimo {

// Switches of the views that the renderer reads (overlays and diagnostics).
struct RenderSwitches {
    bool showCoordinates = false;
    bool showDirections = false;
    bool showIntersections = false;
    bool diagnosticMode = false;
    bool testPolyDrawing = false; // diagnostic: arcs drawn as Bezier curves (TestPolyCheckBox)
    int drawingBackground = 0xFFFFFF; // Windows colour value 0x00BBGGRR
};

struct ProgramContext {
    ProgramPaths paths;
    ProgramSettings settings;
    LanguageTexts texts;
    RenderSwitches view;
    double printFontFactor = 1.0;
    bool runAsServer = false;
    Messenger* messenger = nullptr; // never null once the program runs

    // "Korvimo 1.0 " followed by the product's web address.
    QString creatorText() const;
    Messenger& messages() const { return *messenger; }
};

} // namespace korvimo
