#pragma once
// The settings that belong to the user and the program rather than to one
// diagram. Field names follow the keys of the settings file
// (settings/settingsfile.h); a default-constructed value holds the defaults
// a first start uses. Colours are Windows colour values 0x00BBGGRR.
#include <QString>
#include <QStringList>
#include <array>

namespace korvimo {

struct ProgramSettings {
    QString language = QStringLiteral("Nederlands");
    bool languageSet = false;
    QString languageHelp = QStringLiteral("Korvimo_Nederlands");
    int coordsInterval = 5; // 0 counts as 1 where it is used
    int zoomInOutValue = 50;
    bool arc22ArcsAllowed = true;
    int arc22ArcsValue = 2;
    // 1 stretched, 2 and 3 drawn three times larger and reduced; the smooth
    // reduction of 3 is always available here.
    int drawMethodScreen = 3;
    bool autoRedrawScale = true;
    int arcCorrectionWin9x = 0; // never a Windows 9x platform here
    QString fontNameDefault = QStringLiteral("Arial");
    int fontSizeDefault = 10;
    int maxDiagramWidth = 1500;
    int maxDiagramHeight = 1500;
    QString copyType = QStringLiteral("EMF");
    int copyFactor = 1000;
    int copyPixWidth = 1000;
    bool copyPixAntiAliased = true;
    QString printType = QStringLiteral("EMF");
    int printBmpSize = 2000;
    int printBmpColors = 1; // 0 "Max.", 1 "16"
    bool startShowNewForm = true;
    QString csvSep = QStringLiteral(";");
    int exportType = 1; // 1..5, the last export format chosen
    int exportBmpSize = 1000;
    bool exportPixAntiAliased = true;
    // Written at exit only; never read back.
    bool mainWindowMaximized = false;
    int mainWindowLeft = 0, mainWindowTop = 0, mainWindowWidth = 0, mainWindowHeight = 0;
    std::array<int, 16> basicColors = {0,        10282158, 16776960, 8454143, 14737632, 11579647,
                                       16764262, 12303104, 16711935, 10485760, 8388863,  4210816,
                                       65280,    255,      65535,    16711680};
    int interfaceTheme = 1; // 1 follow the system, 2 light, 3 dark
    int drawingBgDarkColor = 9868950;
    bool libLeftHandTraffic = false;
    // The compose view zooms beyond 2 and offers Zoom all and Zoom/pan
    // exactly; off, it has the two zooms 1 and 2 only.
    bool composeZoomExtended = true;
    // Comparison diagrams: the colours (1..16 of the diagram's colour table)
    // of a band whose volume went up or down, and what the labels show.
    int compareIncreaseColor = 1;
    int compareDecreaseColor = 2;
    bool comparePercentages = false;
    bool compareZeroLabels = false;
    // Vehicle classes of OD and CSV files (requests say their own): what is
    // drawn ("MVT+VRA*2"; empty: the file's own volumes) and whose share the
    // labels show (empty: none).
    QString volumeClasses;
    QString volumeShareClass;
    // Drawing aids that the stored diagrams know nothing of; off, the
    // drawing is exactly what the script says. A text that would read upside
    // down is turned half a turn about its anchor; street names of templates
    // and imports are placed clear of the bands.
    bool keepTextsUpright = true;
    bool placeNamesClear = true;
    // Pixel pictures (export, server, command line, copies as pictures) take
    // glyphs of 64 device pixels and more from a glyph cache instead of
    // filling their outlines anew: much faster for many texts, with edge
    // pixels of large glyphs that may differ slightly. Off: exactly Qt's
    // drawing.
    bool exportCachedGlyphs = true;
    // The points of a template's roundabout ring turn with the arms when the
    // arms wizard turns them; off, only the arm points move.
    bool ringFollowsArms = true;

    // "Name=M:0;L:..;T:..;W:..;H:..;N:..;" one per window, in order
    // (settings/windowpositions.h).
    QStringList formPositions;
};

} // namespace korvimo
