#pragma once
// The import request (".kvoimp"): another program orders a diagram from a
// library template, with arm angles and names, volumes per pair of arms or
// per direction number, and general variables that replace the template's.
//
// The file is read whole; a byte-order mark selects UTF-8 or UTF-16, else
// the bytes are Windows-1252. Sections are a header line followed by the
// lines up to the next line that begins with "[**"; each is looked up from
// the start of the file (order free, a missing one is empty):
//   [**Import variables**]   VolumesType (OD / DIR), BaseDiagramFromLibrary,
//                            ExportSizeWidth, FixedScale,
//                            ScenarioVolumesType, ComparePercentages,
//                            DrawClasses, ShareClass
//   [**General variables**]  key=value lines for the template
//   [**Arms**]               table ARMNO;ANGLE;NAME
//   [**OD**]                 table ARMFROM;ARMTO;VOLUME[;VOLUME_<class>...]
//   [**DIR**]                table DIRECTION;VOLUME[;VOLUME_<class>...]
//   [**ScenarioOD**], [**ScenarioDIR**]  the second data set of a comparison
// Tables are semicolon-separated with a header line, read as the table
// store reads text tables (a double quote quotes, blanks outside quotes are
// dropped); field names in any case, cell values compared exactly.
#include <QString>
#include <QStringList>

namespace korvimo {

class DiagramFile;
class TMlb2;

// The request's import variables.
struct KvoimpVariables {
    QString volumesType;
    QString baseDiagram;
    int exportWidth = 600; // 600 when missing, not an integer or below 1
    // FixedScale: the sfactor every picture of a series shares, instead of
    // one derived from each request's highest volume. 0 when missing;
    // fixedScaleText keeps a value that is no scale, for the message.
    int fixedScale = 0;
    // ScenarioVolumesType (OD / DIR): a second volume section,
    // "[**ScenarioOD**]" or "[**ScenarioDIR**]" in the tables' own form,
    // turns the request into a comparison of that section against the first.
    QString scenarioVolumesType;
    int comparePercentages = -1; // ComparePercentages: 1 on, 0 off, -1 the program setting
    // DrawClasses ("MVT+VRA*2") and ShareClass ("VRA"): what the class
    // columns VOLUME_<class> of the OD and DIR tables draw
    // (document/vehicleclasses.h); both empty: VOLUME, or the program
    // settings' choice.
    QString drawClasses;
    QString shareClass;
    QString fixedScaleText;
    bool fixedScaleValid = true;
};
KvoimpVariables kvoimpVariables(const QStringList& requestLines);

// The template's lines with every general-variables line whose key matches a
// request line's key (any case) replaced by that request line, the last one
// winning; request keys the template lacks are not added.
QStringList kvoimpMergeGeneral(const QStringList& templateLines, const QStringList& requestGeneral);

// KvoimpBestandOpenen: the document (new and empty) becomes the requested
// diagram under the untitled name; ExportBmpSize takes the request's width.
// Temporary files get unique "$1_" names in the temporary folder and are
// always removed; one that cannot be made gives AA00025 and its step is
// skipped. A FixedScale that is not a whole number from 1 to 999999999 is
// reported (AA00252) and the scale then follows the highest volume. May
// throw ConversionError out of the template's reading.
void KvoimpBestandOpenen(const QString& name, DiagramFile& files);

} // namespace korvimo
