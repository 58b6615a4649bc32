#pragma once
// The program's fixed names and folders. Every path that ends in a folder
// carries a trailing '/', so names can be appended directly.
#include <QString>

namespace korvimo {

inline constexpr const char* kProgramName = "Korvimo";
inline constexpr int kCurrentFileVersion = 300;
inline constexpr double kMetaScale = 10.0; // metafile units per diagram unit

struct ProgramPaths {
    QString programFolder; // holds Lib/, Lng/, Hlp/, AddOn/
    QString configFolder;  // the user's configuration folder
    QString settingsFile;  // configFolder + "Korvimo/Korvimo.ini"
    QString libraryFile;   // programFolder + "Lib/Korvimo.lib"
    QString serverStartupFile; // programFolder + "AsServer.StartUp"
    QString languageFolder;    // programFolder + "Lng/"
    QString helpFolder;        // programFolder + "Hlp/"
    QString addOnFolder;       // programFolder + "AddOn/"
    QString tempFolder;

    // Paths for a program whose data lives in programFolder; the rest comes
    // from the environment ($XDG_CONFIG_HOME, the system's temporary folder).
    static ProgramPaths forProgramFolder(const QString& programFolder);

    // The executable's folder when it holds Lib/, else ../share/korvimo/
    // beside it (the installed layout).
    static ProgramPaths detect(const QString& executableFolder);
};

} // namespace korvimo
