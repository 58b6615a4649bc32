#pragma once
// The server's start-up file "AsServer.StartUp": one key=value setting a
// line, keys compared without regard to case, the value everything after
// the first "=" (untrimmed). Unknown lines are ignored; a later line
// overrides an earlier one.
//
//   WatchDir            the watched folder
//   ServerLogFileName   the log file (full name); empty: no log file
//   DeleteOldDiagrams   "1" switches the clean-up of old pictures on
//   ClaimTimeout        seconds after which the requests of a server that
//                       stopped renewing its claim folder are taken over
//                       (several servers on one folder); default 120
#include <QString>
#include <QStringList>
#include <optional>

namespace korvimo {

inline constexpr const char* kServerStartupName = "AsServer.StartUp";

struct ServerStartup {
    QString WatchDir;          // with a trailing "/" unless empty
    QString ServerLogFileName;
    bool DeleteOldDiagrams = false;
    int ClaimTimeout = 120;
};

// What the command line sets over (or instead of) the start-up file.
struct ServerStartupOverrides {
    std::optional<QString> WatchDir;
    std::optional<QString> ServerLogFileName;
    std::optional<bool> DeleteOldDiagrams;
    std::optional<int> ClaimTimeout;
};

// The folder as the server uses it: "/" appended when missing. An empty
// folder stays empty - it never becomes the root folder.
QString watchFolderWithSlash(const QString& folder);

// Applies the lines over settings; keys the lines do not hold keep their
// values.
void applyServerStartupLines(const QStringList& lines, ServerStartup& settings);

// Reads the file over settings. False when it cannot be read; settings are
// then untouched.
bool readServerStartup(const QString& path, ServerStartup& settings);

void applyOverrides(const ServerStartupOverrides& overrides, ServerStartup& settings);

} // namespace korvimo
