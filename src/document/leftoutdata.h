#pragma once
// Volumes of an import that the template has no intensity line for. The
// readers still make the diagram from what fits; what does not is named in
// one message, so that a count never goes missing without a word. A volume
// of 0 (or one that reads as 0) loses nothing and is not named.
#include <QString>
#include <QStringList>

namespace korvimo {

struct ProgramContext;

// Adds "from arm a to arm b: volume" (AA00203) to items.
void noteLeftOutVolume(const ProgramContext& ctx, QStringList& items, const QString& fromArm, const QString& toArm,
                       const QString& volume);
// Adds "direction d: volume" (AA00204) to items.
void noteLeftOutDirection(const ProgramContext& ctx, QStringList& items, const QString& direction,
                          const QString& volume);

// AA00202 with the file and the items; past the first twenty items only
// their number is given, so that a huge file cannot make a huge message.
QString leftOutMessage(const ProgramContext& ctx, const QString& source, const QStringList& items);

} // namespace korvimo
