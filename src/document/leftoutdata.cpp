#include "document/leftoutdata.h"

#include "core/programcontext.h"
#include "document/integertext.h"

namespace korvimo {

namespace {
constexpr int kNamedItems = 20;
bool losesSomething(const QString& volume) { return toIntegerOr(volume, 0) != 0; }
} // namespace

void noteLeftOutVolume(const ProgramContext& ctx, QStringList& items, const QString& fromArm, const QString& toArm,
                       const QString& volume)
{
    if (losesSomething(volume))
        items << ctx.texts.format(QStringLiteral("AA00203"), {fromArm, toArm, volume.trimmed()});
}

void noteLeftOutDirection(const ProgramContext& ctx, QStringList& items, const QString& direction,
                          const QString& volume)
{
    if (losesSomething(volume))
        items << ctx.texts.format(QStringLiteral("AA00204"), {direction, volume.trimmed()});
}

QString leftOutMessage(const ProgramContext& ctx, const QString& source, const QStringList& items)
{
    QString list = items.mid(0, kNamedItems).join(QStringLiteral("; "));
    if (items.size() > kNamedItems)
        list += QStringLiteral("; ... (+%1)").arg(items.size() - kNamedItems);
    return ctx.texts.format(QStringLiteral("AA00202"), {source, list});
}

} // namespace korvimo
