#pragma once
// A comparison diagram: two data sets on the same base (the same script) give
// one diagram whose bands show how much each movement changed and whose
// colours say which way. The result is an ordinary diagram, so any program
// that opens diagram files opens it:
// - every traffic volume becomes |scenario - base|, so band widths and the
//   offsets that stack bands follow the size of the change; a movement that
//   one set lacks counts as 0 there;
// - a band (LNE, ARC, AR2) whose width holds traffic volumes takes the
//   increase or the decrease colour of the diagram's colour table by the sign
//   of its change; a band without change keeps its colour and, since intmin
//   becomes 1, is not drawn;
// - every volume label (TXT with an "I" content) becomes a fixed text: the
//   signed change of its expression ("+120", "-40"), so totals per arm show
//   the change of the total; with percentages the change relative to the base
//   follows ("+120 (+25 %)", rounded half to even; none where the base is 0);
//   a change of 0 is written only when zero labels are asked for;
// - sfactor is chosen from the highest change as for a freshly loaded
//   diagram.
#include <QString>

#include "document/documentundo.h"

namespace korvimo {

class LanguageTexts;
struct ProgramSettings;

struct ComparisonOptions {
    bool percentages = false;
    bool zeroLabels = false;
    int increaseColour = 1; // 1..16: Color0001..Color0016
    int decreaseColour = 2;

    // CompareIncreaseColor, CompareDecreaseColor, ComparePercentages and
    // CompareZeroLabels; a colour number outside 1..16 gives the default.
    static ComparisonOptions fromSettings(const ProgramSettings& settings);
};

struct ComparisonOutcome {
    bool ok = false;
    QString message; // why not, in the language texts, when !ok
};

// Builds the comparison of scenario against base into result (base's general
// variables, script, coordinates and notes, with the changes above and a
// notes line naming both sets). Fails, leaving result untouched, when the
// scripts are no common base (AA00254: another number of lines, another
// element on a line, or a band of another width expression; texts, colours
// and offsets may differ), when neither set holds a volume above 0
// (AA00253), or when a volume line is malformed (the conversion error's
// text). baseName and scenarioName name the sets in messages and notes.
ComparisonOutcome compareDiagrams(const DocumentContent& base, const DocumentContent& scenario,
                                  const ComparisonOptions& options, const LanguageTexts& texts,
                                  const QString& baseName, const QString& scenarioName, DocumentContent& result);

// The label of one change: "+120", "-40", "0" (only with zeroLabels, else
// empty); with percentages and a base other than 0 " (+25 %)" follows.
QString changeLabel(long long change, long long baseValue, const ComparisonOptions& options);

} // namespace korvimo
