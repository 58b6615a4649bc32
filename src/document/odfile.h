#pragma once
// The OD file (".in"): the origin-destination matrix of one intersection of
// two to eight arms, in fixed-width text read by character positions (the
// first character of a line is position 1; every field is trimmed).
//
//   line 1         the second title
//   line 2         1-5 identifier, 6 number of arms N ("2" ... "8"),
//                  7- the first title (the identifier when blank)
//   line 3 onward  one arm line per arm: 1-5 identifier, 6-8 angle,
//                  9-28 street name (the identifier when blank), then seven
//                  positions per volume to the file's arms 1 ... 8
//
// The file numbers its arms against the diagram's direction of rotation:
// file arm 1 is diagram arm 1 and file arm i (i >= 2) diagram arm M + 2 - i.
//
// Vehicle classes follow the arm lines, a block per class: a line "*" and
// the class name ("*VRA"), then the arm lines again in the same layout and
// order, of which only the volumes are read. Programs that read M arm lines
// never see them; the volumes of the arm lines stay what is drawn unless
// the program settings choose classes (document/vehicleclasses.h).
#include <QString>

namespace korvimo {

class DiagramFile;

// The template and the number of arm lines (M) for the number of arms in
// position 6 of line 2; empty code for anything but "2" ... "8".
struct OdTemplate {
    QString code;
    int armLines = 0;
};
OdTemplate odTemplateFor(QChar armCount);

// The volume column of the file's arm fileArm (1 ... 8) in an arm line,
// trimmed; blank past the end of a short line.
QString odVolumeField(const QString& armLine, int fileArm);

// ODBestandOpenen: the document (new and empty) becomes the template for the
// number of arms with the file's titles, angles, street names and volumes,
// the scale from the highest volume and the arm points placed anew. A file
// that cannot be read leaves the document as it was; an unknown number of
// arms sets only the titles. A volume the template has no intensity line
// for is reported (DiagramFile::reportLeftOut); nothing else is said, except
// about a class choice the file cannot give. May throw ConversionError out
// of the template's reading.
void ODBestandOpenen(const QString& name, DiagramFile& files);
// The same, naming the file as shownName in messages: the CSV import reads
// through a temporary OD file.
void readOdFile(const QString& name, DiagramFile& files, const QString& shownName);

} // namespace korvimo
