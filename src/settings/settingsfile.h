#pragma once
// The program settings file: "[Korvimo settings]", the general variables
// one key a line in a fixed order, then the window positions. Keys are
// compared without regard to case. The file is written whole, through a
// temporary file, so a failed write leaves the previous file intact.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "settings/programsettings.h"
#include "settings/windowpositions.h"

namespace korvimo {

class LanguageTexts;
class Messenger;

// Resets settings to their defaults, then reads path when it exists. A
// missing or unreadable file, a missing section or key, or a number that is
// not a decimal integer leaves the default in place; nothing is reported.
// Returns whether the file could be read at all.
bool ProgInstellingenOphalen(ProgramSettings& settings, const QString& path);

// The same on lines already read (for callers that hold the text).
void readSettingsLines(ProgramSettings& settings, const QStringList& lines);

// The file's lines, without line ends, exactly as written.
QStringList settingsFileLines(const ProgramSettings& settings);
// The file's bytes: Windows-1252 (UTF-8 with a byte-order mark when a text
// does not fit), CR LF after every line.
QByteArray settingsFileBytes(const ProgramSettings& settings);

// Writes the file safely (folder created). False with error set on failure.
bool writeSettingsFile(const ProgramSettings& settings, const QString& path, QString* error = nullptr);

// The exit step: records the windows' positions into settings.formPositions,
// then writes the file. A failed write is reported with AA00028 (the full
// path filled in) and returns false; the caller goes on closing.
bool ProgInstellingenOpslaan(ProgramSettings& settings, const QList<WindowPlacement>& windows,
                             const QString& path, const LanguageTexts& texts, Messenger& messenger);

} // namespace korvimo
