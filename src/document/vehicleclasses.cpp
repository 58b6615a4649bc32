#include "document/vehicleclasses.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/generalvariables.h"
#include "document/intensityreplace.h"
#include "document/volumelabels.h"
#include "render/rounding.h"

namespace korvimo {

namespace {

QString key(const QString& className, const QString& intensity) { return className + QLatin1Char('/') + intensity; }

} // namespace

bool parseClassChoice(const QString& terms, const QString& shareClass, ClassChoice* out, QString* bad)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_]+$"));
    static const QRegularExpression factor(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    ClassChoice choice;
    const QString share = shareClass.trimmed();
    if (!share.isEmpty() && !name.match(share).hasMatch()) {
        *bad = shareClass;
        return false;
    }
    choice.shareClass = share.toUpper();
    if (!terms.trimmed().isEmpty()) {
        for (const QString& part : terms.split(QLatin1Char('+'))) {
            const QString t = part.trimmed();
            const QString n = t.section(QLatin1Char('*'), 0, 0).trimmed();
            const QString f = t.contains(QLatin1Char('*')) ? t.section(QLatin1Char('*'), 1).trimmed()
                                                           : QStringLiteral("1");
            bool ok = false;
            const double value = f.toDouble(&ok);
            if (!name.match(n).hasMatch() || !factor.match(f).hasMatch() || !ok || value > 1000) {
                *bad = t.isEmpty() ? terms : part; // "MVT+" has nothing after its "+"
                return false;
            }
            choice.terms.append({n.toUpper(), value});
        }
    }
    *out = choice;
    return true;
}

void ClassVolumes::add(const QString& className, const QString& intensity, long long volume)
{
    const QString c = className.toUpper();
    if (!m_classes.contains(c))
        m_classes.append(c);
    if (!m_intensities.contains(intensity))
        m_intensities.append(intensity);
    m_volumes.insert(key(c, intensity), volume);
}

bool ClassVolumes::hasClass(const QString& className) const { return m_classes.contains(className.toUpper()); }

long long ClassVolumes::volume(const QString& className, const QString& intensity) const
{
    return m_volumes.value(key(className.toUpper(), intensity));
}

long long ClassVolumes::drawn(const ClassChoice& choice, const QString& intensity) const
{
    long double sum = 0;
    for (const ClassTerm& t : choice.terms)
        sum += static_cast<long double>(t.factor) * volume(t.name, intensity);
    return roundToEven64(sum);
}

ClassChoice classChoiceFor(ProgramContext& ctx, const QString& requestTerms, const QString& requestShare)
{
    const bool fromRequest = !requestTerms.trimmed().isEmpty() || !requestShare.trimmed().isEmpty();
    const QString terms = fromRequest ? requestTerms : ctx.settings.volumeClasses;
    const QString share = fromRequest ? requestShare : ctx.settings.volumeShareClass;
    ClassChoice choice;
    QString bad;
    if (!parseClassChoice(terms, share, &choice, &bad)) {
        ctx.messages().error(ctx.texts.format(QStringLiteral("AA00258"), {bad}));
        return {};
    }
    return choice;
}

bool applyClassVolumes(ProgramContext& ctx, const QString& fileName, const ClassChoice& choice,
                       const ClassVolumes& volumes, QStringList& intensities)
{
    if (choice.isEmpty())
        return false;
    QStringList wanted;
    for (const ClassTerm& t : choice.terms)
        wanted.append(t.name);
    if (!choice.shareClass.isEmpty())
        wanted.append(choice.shareClass);
    for (const QString& c : wanted) {
        if (!volumes.hasClass(c)) {
            const QString have =
                volumes.classes().isEmpty() ? QStringLiteral("-") : volumes.classes().join(QStringLiteral(", "));
            ctx.messages().error(ctx.texts.format(QStringLiteral("AA00257"), {c, QFileInfo(fileName).fileName(), have}));
            return false;
        }
    }
    if (!choice.terms.isEmpty()) {
        for (const QString& n : volumes.intensities())
            IntensiteitVervangen(intensities, n, QString::number(volumes.drawn(choice, n)));
    }
    return true;
}

void applyShareLabels(const ClassChoice& choice, const ClassVolumes& volumes, DiagramDocument& doc)
{
    if (choice.shareClass.isEmpty())
        return;
    // Without terms the file's own volumes are drawn; their share is then
    // measured against the vehicles of every class.
    QList<ClassTerm> counted = choice.terms;
    if (counted.isEmpty()) {
        for (const QString& c : volumes.classes())
            counted.append({c, 1});
    }
    // The label's number is what the line would have drawn: the volumes now
    // in the list, summed over the expression.
    QHash<QString, long long> listed;
    for (const QString& line : std::as_const(doc.intensities)) {
        if (line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#')) || listed.contains(line.left(4)))
            continue;
        listed.insert(line.left(4), line.section(QLatin1Char('='), 1).section(QLatin1Char(';'), 0, 0).toLongLong());
    }
    const int threshold = doc.general.intminnumber;
    fixVolumeLabels(doc.script, [&](const QString& expression) {
        long long number = 0, share = 0, vehicles = 0;
        for (const QString& n : expressionNames(expression)) {
            number += listed.value(n);
            share += volumes.volume(choice.shareClass, n);
            for (const ClassTerm& t : counted)
                vehicles += volumes.volume(t.name, n);
        }
        if (number < threshold)
            return QString();
        QString label = QString::number(number);
        if (vehicles != 0)
            label += QStringLiteral(" (")
                     + QString::number(roundToEven64(static_cast<long double>(share) * 100 / vehicles))
                     + QStringLiteral(" %)");
        return label;
    }, [](const QString& group) {
        // Movement labels only: the totals keep their plain number, as the
        // share of a sum rarely tells more than the shares of its parts and
        // the longer text would run into its neighbours.
        DrawingGroup g;
        return !drawingGroupFromName(group, &g)
               || (g != DrawingGroup::IIncommingTotal && g != DrawingGroup::IOutgoingTotal
                   && g != DrawingGroup::ITotal);
    });
}

bool applyClassChoice(ProgramContext& ctx, const QString& fileName, const ClassChoice& choice,
                      const ClassVolumes& volumes, DiagramDocument& doc)
{
    if (!applyClassVolumes(ctx, fileName, choice, volumes, doc.intensities))
        return false;
    applyShareLabels(choice, volumes, doc);
    return true;
}

} // namespace korvimo
