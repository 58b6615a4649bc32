#pragma once
// The name rules and the overwrite question of the export command, without
// its window. The export dialog maps its controls to these.
#include <QString>

namespace korvimo {

struct ProgramContext;

// The values of the program setting ExportType. SVG and PDF come after the
// five Windows formats, so that a settings file that names one of those
// keeps meaning the same.
enum ExportType { ExportEmf = 1, ExportWmf = 2, ExportBmp = 3, ExportJpg = 4, ExportPng = 5, ExportSvg = 6, ExportPdf = 7 };

bool isPixelExportType(int exportType);

// ".emf", ".wmf", ".bmp", ".jpg", ".png", ".svg" or ".pdf"; empty for
// other values.
QString exportExtension(int exportType);

// The name the save dialog proposes: the diagram's file name without folder
// and extension, plus the format's extension ("Korvimo_Nieuw.kvo" becomes
// "Korvimo_Nieuw.png").
QString proposedExportFileName(const QString& documentFileName, int exportType);

// The chosen name with the format's extension appended unless it already
// ends in exactly (case-sensitively) that extension: plan.BMP becomes
// plan.BMP.bmp, plan.Jpg becomes plan.Jpg.jpg.
QString withExportExtension(const QString& chosenName, int exportType);

// The extension of the last element of a path, dot included; empty without one.
QString extensionOf(const QString& name);

// When fileName exists, asks through ctx's Messenger whether to overwrite it.
// True to go on: the file does not exist, or the answer was the first button
// ("&Overschrijven"); "&Niet overschrijven" and "&Annuleren" both stop.
bool confirmOverwrite(const QString& fileName, const ProgramContext& ctx);

} // namespace korvimo
