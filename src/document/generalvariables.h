#pragma once
// The diagram-wide settings. Each field is named after its key in the
// "[**General variables**]" section of a diagram file.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <variant>

namespace korvimo {

struct ProgramSettings;

// The drawing groups, in the order of their flags in the file. Legend came
// later than the others: its flag is the file's last general variable, so
// files written before it keep every line where it was, and a reader that
// does not know grplegend skips the line.
enum class DrawingGroup {
    Frame, CrossingFrame, Background, Logo, IIncomming, IOutgoing, IIncommingTotal, IOutgoingTotal,
    IBetween1, IBetween2, ITotal, Text, Filename, Names, Objects1, Objects2, Diagram1, Diagram2, North,
    Legend
};
inline constexpr int kDrawingGroupCount = 20;

// "Frame", "CrossingFrame", ... as script lines name them.
QString drawingGroupName(DrawingGroup g);
// "grpframe", "grpcrossingframe", ... as the file names the flags.
QString drawingGroupKey(DrawingGroup g);
// The group whose name matches (case-insensitively); false when none does.
bool drawingGroupFromName(const QString& name, DrawingGroup* out);

struct GeneralVariables {
    QString fontname = QStringLiteral("Arial");
    int fontsize = 10;
    int linewidth = 3;
    double arrowsize = 40; // metafile units in memory; the file holds a tenth of it
    bool sfill = true;
    bool sblackline = true;
    bool sblack = false;
    int diagramwidth = 500;
    int diagramheight = 500;
    int sfactor = 1000;
    int northnorth = 90;
    int intmin = 1;
    int intminnumber = 1;
    bool shownotesdialog = false;
    int printdiagramleft = 20;
    int printdiagramtop = 30;
    int printdiagramsize = 85;
    int printheader1left = 20;
    int printheader1top = 10;
    QString printheader1 = QStringLiteral("Bijlage 1: Stromendiagram");
    QString printfontname = QStringLiteral("Arial");
    int printfontsize = 12;
    QString printfontstyle = QStringLiteral("YNN");
    std::array<bool, kDrawingGroupCount> grp; // indexed by DrawingGroup
    std::array<int, 16> color;                // color[0] is "Color0001"
    std::array<QString, 5> title;             // title[0] is "Title01"
    std::array<QString, 16> streetname;       // streetname[0] is "Streetname01"
    QString armcenter;
    int armdistcep1 = 100;
    int armdistp1p2 = 100;
    std::array<QString, 16> arm; // arm[0] is "arm01": point-1 ";" point-2 ";" angle

    GeneralVariables(); // the defaults of a new diagram with the built-in program settings
    bool operator==(const GeneralVariables&) const = default;

    // printfontstyle: character 1 bold, 2 italic, 3 underlined; only "Y" is on.
    bool printFontBold() const { return styleFlag(0); }
    bool printFontItalic() const { return styleFlag(1); }
    bool printFontUnderline() const { return styleFlag(2); }

    bool groupVisible(DrawingGroup g) const { return grp[static_cast<int>(g)]; }
    void setGroupVisible(DrawingGroup g, bool on) { grp[static_cast<int>(g)] = on; }

    // The defaults of a new diagram: fonts and colours come from the program settings.
    static GeneralVariables defaults(const ProgramSettings& settings);

private:
    bool styleFlag(int i) const { return printfontstyle.size() > i && printfontstyle[i] == QLatin1Char('Y'); }
};

// The keys of the "[**General variables**]" section, in the order the writer
// writes them, "fileversion" first. The reader and the writer both work from
// this one table, so a field cannot be written under one name and read under
// another.
enum class GeneralKind {
    FileVersion, // not a field: written as the current version, read for the version check
    Integer,
    Boolean,     // "1" true, anything else false
    Text,        // the rest of the line, untrimmed
    ArrowSize,   // integer in the file, ten times that in memory
};

struct GeneralVariableKey {
    using Field = std::variant<std::monostate, int*, bool*, QString*, double*>;
    QString key; // lower case, as written
    GeneralKind kind;
    std::function<Field(GeneralVariables&)> field;
};

const QList<GeneralVariableKey>& generalVariableKeys();
// The entry for key compared without regard to case; null when unknown.
const GeneralVariableKey* findGeneralVariableKey(QStringView key);

// The value text that the writer writes for entry.
QString generalVariableText(const GeneralVariables& gv, const GeneralVariableKey& entry);
// Stores value into the entry's field (for fileversion into *fileVersion when
// given). Throws ConversionError when an integer value is malformed; the
// field then keeps its value.
void applyGeneralVariable(GeneralVariables& gv, const GeneralVariableKey& entry, const QString& value,
                          int* fileVersion = nullptr);

// Every key as "key=value", in table order.
QStringList generalVariableLines(const GeneralVariables& gv);
// Applies one "key=value" line: the key is the text before the first "=",
// the value everything after it. A line without "=" or with an unknown key
// is ignored and gives false. Throws ConversionError like applyGeneralVariable.
bool applyGeneralVariableLine(GeneralVariables& gv, const QString& line, int* fileVersion = nullptr);

} // namespace korvimo
