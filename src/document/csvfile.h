#pragma once
// The CSV import: the data of an OD file (odfile.h) as delimited text, as
// spreadsheets write it. Fields are separated by the program setting CSVsep
// and trimmed; there is no quoting.
//
//   line 1       field 1: the second title
//   line 2       fields 1-3: identifier, number of arms, first title
//   lines 3-10   fields 1-11: identifier, angle, street name, volumes to
//                arms 1 ... 8 (further lines are ignored)
//   then         optional vehicle-class blocks: a line whose first field is
//                "*" and the class name ("*VRA"), then the arm lines again,
//                in the same layout and order, with that class's volumes;
//                they become the OD file's class blocks (odfile.h)
//
// The file is rewritten as a fixed-width OD file in the temporary folder and
// read by the OD import.
#include <QString>
#include <QStringList>

namespace korvimo {

class DiagramFile;

// The OD lines for the lines of a CSV file, with separator sep.
QStringList csvToOdLines(const QStringList& csvLines, const QString& sep);

// CSVBestandOpenen: the document (new and empty) becomes what the OD import
// makes of the converted file. A file that cannot be read, or a temporary
// file that cannot be made, leaves the document as it was; no message.
void CSVBestandOpenen(const QString& name, DiagramFile& files);

} // namespace korvimo
