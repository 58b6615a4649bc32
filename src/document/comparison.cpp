#include "document/comparison.h"

#include <QHash>
#include <QSet>
#include <cstdlib>

#include "document/integertext.h"
#include "document/volumelabels.h"
#include "i18n/languagetexts.h"
#include "render/rounding.h"
#include "render/volumes.h"
#include "settings/programsettings.h"

namespace korvimo {

namespace {

// The name and the volume of an active traffic-volume line ("NNNN=V;I;");
// false for text lines, inactive lines and values. Throws ConversionError
// for a malformed volume.
bool volumeLine(const QString& line, QString* name, long long* volume)
{
    if (line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1Char('#')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const qsizetype semi = line.indexOf(QLatin1Char(';'), eq + 1);
    if (eq < 0 || semi < 0 || line.mid(semi + 1, 1) != QLatin1String("I"))
        return false;
    *name = line.left(4);
    *volume = toInteger(QStringView(line).mid(eq + 1, semi - eq - 1));
    return true;
}

struct VolumeSet {
    QStringList order;             // names in list order, first occurrence only
    QHash<QString, long long> value;
};

VolumeSet volumesOf(const QStringList& lines)
{
    VolumeSet set;
    QSet<QString> seen; // the first line of a name is the one every lookup finds
    for (const QString& line : lines) {
        QString name;
        long long v = 0;
        const QString four = line.left(4);
        const bool active = !line.startsWith(QLatin1Char('*')) && !line.startsWith(QLatin1Char('#'));
        if (!active || seen.contains(four))
            continue;
        seen.insert(four);
        if (volumeLine(line, &name, &v)) {
            set.order.append(name);
            set.value.insert(name, v);
        }
    }
    return set;
}

QString volumeText(const QString& name, long long v)
{
    return name + QLatin1Char('=') + QString::number(v) + QStringLiteral(";I;");
}

QString signedNumber(long long v)
{
    return v > 0 ? QLatin1Char('+') + QString::number(v) : QString::number(v);
}

QString colourName(int n) { return QStringLiteral("Color%1").arg(n, 4, 10, QLatin1Char('0')); }

int colourOrDefault(int n, int fallback) { return n >= 1 && n <= 16 ? n : fallback; }

// The field of a band line that holds its width; -1 for other lines.
int widthField(const QStringList& fields)
{
    const QString code = fields.value(0);
    if (code == QLatin1String("LNE"))
        return 5;
    if (code == QLatin1String("ARC") || code == QLatin1String("AR2"))
        return 8;
    return -1;
}

// The same layout: line for line the same element, and every band the same
// width expression. Texts, colours and offsets may differ, so a diagram
// whose labels or colours were changed (a comparison, shares of a class)
// still compares with its plain twin.
bool sameBase(const QStringList& a, const QStringList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].left(3) != b[i].left(3))
            return false;
        const QStringList fa = a[i].split(QLatin1Char(';')), fb = b[i].split(QLatin1Char(';'));
        const int w = widthField(fa);
        if (w > 0 && fa.value(w) != fb.value(w))
            return false;
    }
    return true;
}

} // namespace

ComparisonOptions ComparisonOptions::fromSettings(const ProgramSettings& s)
{
    ComparisonOptions o;
    o.percentages = s.comparePercentages;
    o.zeroLabels = s.compareZeroLabels;
    o.increaseColour = colourOrDefault(s.compareIncreaseColor, o.increaseColour);
    o.decreaseColour = colourOrDefault(s.compareDecreaseColor, o.decreaseColour);
    return o;
}

QString changeLabel(long long change, long long baseValue, const ComparisonOptions& options)
{
    if (change == 0 && !options.zeroLabels)
        return QString();
    QString label = signedNumber(change);
    if (options.percentages && baseValue != 0) {
        const long long percent = roundToEven64(static_cast<long double>(change) * 100 / baseValue);
        label += QStringLiteral(" (") + signedNumber(percent) + QStringLiteral(" %)");
    }
    return label;
}

ComparisonOutcome compareDiagrams(const DocumentContent& base, const DocumentContent& scenario,
                                  const ComparisonOptions& options, const LanguageTexts& texts,
                                  const QString& baseName, const QString& scenarioName, DocumentContent& result)
{
    ComparisonOutcome outcome;
    if (!sameBase(base.script, scenario.script)) {
        outcome.message = texts.format(QStringLiteral("AA00254"), {baseName, scenarioName});
        return outcome;
    }
    VolumeSet before, after;
    try {
        before = volumesOf(base.intensities);
        after = volumesOf(scenario.intensities);
    } catch (const ConversionError& e) {
        outcome.message = e.text();
        return outcome;
    }
    bool anyVolume = false;
    for (long long v : std::as_const(before.value))
        anyVolume = anyVolume || v > 0;
    for (long long v : std::as_const(after.value))
        anyVolume = anyVolume || v > 0;
    if (!anyVolume) {
        outcome.message = texts.format(QStringLiteral("AA00253"), {baseName, scenarioName});
        return outcome;
    }

    QStringList names = before.order;
    for (const QString& n : after.order)
        if (!before.value.contains(n))
            names.append(n);
    QHash<QString, long long> change;
    QStringList changeLines, baseLines;
    for (const QString& n : names) {
        const long long d = after.value.value(n) - before.value.value(n);
        change.insert(n, d);
        changeLines.append(volumeText(n, d));
        baseLines.append(volumeText(n, before.value.value(n)));
    }

    DocumentContent out = base;
    QSet<QString> done;
    for (QString& line : out.intensities) {
        QString name;
        long long v = 0;
        if (!done.contains(line.left(4)) && volumeLine(line, &name, &v)) {
            line = volumeText(name, std::llabs(change.value(name)));
            done.insert(name);
        }
        if (!line.startsWith(QLatin1Char('*')) && !line.startsWith(QLatin1Char('#')))
            done.insert(line.left(4));
    }
    for (const QString& n : names)
        if (!done.contains(n))
            out.intensities.append(volumeText(n, std::llabs(change.value(n))));

    // Raw sums over the signed changes and over the base: the sign of a band,
    // the change of a label and the base it is measured against.
    const VolumeTable changes(changeLines, 1000, 0);
    const VolumeTable baseTable(baseLines, 1000, 0);
    const auto holdsVolumes = [&](const QString& expression) {
        for (const QString& n : expressionNames(expression))
            if (change.contains(n))
                return true;
        return false;
    };
    for (QString& line : out.script) {
        QStringList f = line.split(QLatin1Char(';'));
        const int width = widthField(f);
        if (width > 0 && f.size() > width + 1 && holdsVolumes(f[width])) {
            const long double d = changes.evaluate(ValueMode::Raw, f[width]);
            if (d != 0) {
                f[width + 1] = colourName(d > 0 ? options.increaseColour : options.decreaseColour);
                line = f.join(QLatin1Char(';'));
            }
        }
    }
    fixVolumeLabels(out.script, [&](const QString& expression) {
        return changeLabel(roundToEven64(changes.evaluate(ValueMode::Raw, expression)),
                           roundToEven64(baseTable.evaluate(ValueMode::Raw, expression)), options);
    });

    out.general.intmin = 1; // no change, no band
    out.general.sfactor = sfactorForHighestVolume(highestVolume(out.intensities));
    out.notes.append(texts.format(QStringLiteral("AA00255"), {scenarioName, baseName}));
    result = out;
    outcome.ok = true;
    return outcome;
}

} // namespace korvimo
