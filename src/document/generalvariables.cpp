#include "document/generalvariables.h"

#include <QHash>
#include <algorithm>
#include <cmath>

#include "core/programpaths.h"
#include "document/integertext.h"
#include "settings/programsettings.h"

namespace korvimo {

namespace {
struct GroupNames {
    const char* name;
    const char* key;
};
constexpr GroupNames kGroups[kDrawingGroupCount] = {
    {"Frame", "grpframe"},
    {"CrossingFrame", "grpcrossingframe"},
    {"Background", "grpbackground"},
    {"Logo", "grplogo"},
    {"I-incomming", "grpi-incomming"},
    {"I-outgoing", "grpi-outgoing"},
    {"I-incommingTotal", "grpi-incommingtotal"},
    {"I-outgoingTotal", "grpi-outgoingtotal"},
    {"I-between1", "grpi-between1"},
    {"I-between2", "grpi-between2"},
    {"I-total", "grpi-total"},
    {"Text", "grptext"},
    {"Filename", "grpfilename"},
    {"Names", "grpnames"},
    {"Objects1", "grpobjects1"},
    {"Objects2", "grpobjects2"},
    {"Diagram1", "grpdiagram1"},
    {"Diagram2", "grpdiagram2"},
    {"North", "grpnorth"},
    {"Legend", "grplegend"},
};
} // namespace

QString drawingGroupName(DrawingGroup g) { return QString::fromLatin1(kGroups[int(g)].name); }
QString drawingGroupKey(DrawingGroup g) { return QString::fromLatin1(kGroups[int(g)].key); }

bool drawingGroupFromName(const QString& name, DrawingGroup* out)
{
    for (int i = 0; i < kDrawingGroupCount; ++i) {
        if (name.compare(QLatin1String(kGroups[i].name), Qt::CaseInsensitive) == 0) {
            *out = DrawingGroup(i);
            return true;
        }
    }
    return false;
}

GeneralVariables::GeneralVariables()
{
    grp.fill(true);
    const ProgramSettings builtIn;
    for (int i = 0; i < 16; ++i)
        color[i] = builtIn.basicColors[i];
    for (int i = 0; i < 5; ++i)
        title[i] = QStringLiteral("Title%1").arg(i + 1, 2, 10, QLatin1Char('0'));
    for (int i = 0; i < 16; ++i)
        streetname[i] = QStringLiteral("Streetname%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

GeneralVariables GeneralVariables::defaults(const ProgramSettings& settings)
{
    GeneralVariables gv;
    gv.fontname = settings.fontNameDefault;
    gv.fontsize = settings.fontSizeDefault;
    gv.printfontname = settings.fontNameDefault;
    for (int i = 0; i < 16; ++i)
        gv.color[i] = settings.basicColors[i];
    return gv;
}

namespace {

QString twoDigits(const char* stem, int n)
{
    return QString::fromLatin1(stem) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QList<GeneralVariableKey> buildKeys()
{
    using G = GeneralVariables;
    using F = GeneralVariableKey::Field;
    QList<GeneralVariableKey> k;
    auto add = [&k](const QString& key, GeneralKind kind, std::function<F(G&)> field) {
        k.append({key, kind, std::move(field)});
    };
    auto integer = [&add](const char* key, int G::*m) {
        add(QString::fromLatin1(key), GeneralKind::Integer, [m](G& g) { return F(&(g.*m)); });
    };
    auto boolean = [&add](const char* key, bool G::*m) {
        add(QString::fromLatin1(key), GeneralKind::Boolean, [m](G& g) { return F(&(g.*m)); });
    };
    auto text = [&add](const char* key, QString G::*m) {
        add(QString::fromLatin1(key), GeneralKind::Text, [m](G& g) { return F(&(g.*m)); });
    };

    add(QStringLiteral("fileversion"), GeneralKind::FileVersion, [](G&) { return F(); });
    text("fontname", &G::fontname);
    integer("fontsize", &G::fontsize);
    integer("linewidth", &G::linewidth);
    add(QStringLiteral("arrowsize"), GeneralKind::ArrowSize, [](G& g) { return F(&g.arrowsize); });
    boolean("sfill", &G::sfill);
    boolean("sblackline", &G::sblackline);
    boolean("sblack", &G::sblack);
    integer("diagramwidth", &G::diagramwidth);
    integer("diagramheight", &G::diagramheight);
    integer("sfactor", &G::sfactor);
    integer("northnorth", &G::northnorth);
    integer("intmin", &G::intmin);
    integer("intminnumber", &G::intminnumber);
    boolean("shownotesdialog", &G::shownotesdialog);
    integer("printdiagramleft", &G::printdiagramleft);
    integer("printdiagramtop", &G::printdiagramtop);
    integer("printdiagramsize", &G::printdiagramsize);
    integer("printheader1left", &G::printheader1left);
    integer("printheader1top", &G::printheader1top);
    text("printheader1", &G::printheader1);
    text("printfontname", &G::printfontname);
    integer("printfontsize", &G::printfontsize);
    text("printfontstyle", &G::printfontstyle);
    const int legend = static_cast<int>(DrawingGroup::Legend);
    for (int i = 0; i < legend; ++i)
        add(drawingGroupKey(DrawingGroup(i)), GeneralKind::Boolean, [i](G& g) { return F(&g.grp[i]); });
    for (int i = 0; i < 16; ++i)
        add(QStringLiteral("color%1").arg(i + 1, 4, 10, QLatin1Char('0')), GeneralKind::Integer,
            [i](G& g) { return F(&g.color[i]); });
    for (int i = 0; i < 5; ++i)
        add(twoDigits("title", i + 1), GeneralKind::Text, [i](G& g) { return F(&g.title[i]); });
    for (int i = 0; i < 16; ++i)
        add(twoDigits("streetname", i + 1), GeneralKind::Text, [i](G& g) { return F(&g.streetname[i]); });
    text("armcenter", &G::armcenter);
    integer("armdistcep1", &G::armdistcep1);
    integer("armdistp1p2", &G::armdistp1p2);
    for (int i = 0; i < 16; ++i)
        add(twoDigits("arm", i + 1), GeneralKind::Text, [i](G& g) { return F(&g.arm[i]); });
    // The legend's flag is written last, so every line a file had before
    // stays where it was.
    add(drawingGroupKey(DrawingGroup::Legend), GeneralKind::Boolean,
        [legend](G& g) { return F(&g.grp[legend]); });
    return k;
}

struct KeyTable {
    QList<GeneralVariableKey> keys = buildKeys();
    QHash<QString, int> index = [this] {
        QHash<QString, int> h;
        for (int i = 0; i < keys.size(); ++i)
            h.insert(keys[i].key, i);
        return h;
    }();
};

const KeyTable& keyTable()
{
    static const KeyTable table; // constant after construction
    return table;
}

} // namespace

const QList<GeneralVariableKey>& generalVariableKeys() { return keyTable().keys; }

const GeneralVariableKey* findGeneralVariableKey(QStringView key)
{
    const KeyTable& t = keyTable();
    const auto it = t.index.constFind(key.toString().toLower());
    return it == t.index.cend() ? nullptr : &t.keys[*it];
}

QString generalVariableText(const GeneralVariables& gv, const GeneralVariableKey& entry)
{
    // The accessors hand out pointers into a mutable record; reading through
    // them does not change it.
    auto field = entry.field(const_cast<GeneralVariables&>(gv));
    switch (entry.kind) {
    case GeneralKind::FileVersion:
        return QString::number(kCurrentFileVersion);
    case GeneralKind::Integer:
        return QString::number(*std::get<int*>(field));
    case GeneralKind::Boolean:
        return *std::get<bool*>(field) ? QStringLiteral("1") : QStringLiteral("0");
    case GeneralKind::Text:
        return *std::get<QString*>(field);
    case GeneralKind::ArrowSize: {
        // Memory holds metafile units; the file holds diagram units.
        const double v = std::nearbyint(*std::get<double*>(field) / kMetaScale);
        const double clamped = std::clamp(v, -2147483648.0, 2147483647.0);
        return QString::number(static_cast<long long>(clamped));
    }
    }
    return {};
}

void applyGeneralVariable(GeneralVariables& gv, const GeneralVariableKey& entry, const QString& value,
                          int* fileVersion)
{
    auto field = entry.field(gv);
    switch (entry.kind) {
    case GeneralKind::FileVersion: {
        const int v = toInteger(value);
        if (fileVersion)
            *fileVersion = v;
        break;
    }
    case GeneralKind::Integer:
        *std::get<int*>(field) = toInteger(value);
        break;
    case GeneralKind::Boolean:
        *std::get<bool*>(field) = value == QLatin1String("1");
        break;
    case GeneralKind::Text:
        *std::get<QString*>(field) = value;
        break;
    case GeneralKind::ArrowSize:
        *std::get<double*>(field) = toInteger(value) * kMetaScale;
        break;
    }
}

QStringList generalVariableLines(const GeneralVariables& gv)
{
    QStringList out;
    const auto& keys = generalVariableKeys();
    out.reserve(keys.size());
    for (const auto& e : keys)
        out.append(e.key + QLatin1Char('=') + generalVariableText(gv, e));
    return out;
}

bool applyGeneralVariableLine(GeneralVariables& gv, const QString& line, int* fileVersion)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const GeneralVariableKey* entry = findGeneralVariableKey(QStringView(line).first(eq));
    if (!entry)
        return false;
    applyGeneralVariable(gv, *entry, line.mid(eq + 1), fileVersion);
    return true;
}

} // namespace korvimo
