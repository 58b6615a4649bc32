#pragma once
// "Diagram > Vergelijken met...": the open diagram's data is the base, a
// second file (anything the open procedure reads) the scenario; the open
// diagram becomes their comparison (document/comparison.h) under the
// untitled name, so saving it never replaces the base's file.
#include <QString>

namespace korvimo {

class DiagramFile;

// Reads scenarioName into a document of its own, with the open diagram's
// template library, and compares. True when the open diagram was replaced
// by the comparison; the caller then records the change and redraws. False,
// with the open diagram untouched, when the scenario could not be read or
// compared; the reason has been told through the context's messenger.
bool VergelijkenMet(DiagramFile& file, const QString& scenarioName);

} // namespace korvimo
