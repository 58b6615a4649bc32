#include "document/generalvariables.h"

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

} // namespace korvimo
