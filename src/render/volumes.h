#pragma once
// The volumes list: "NNNN=V;I;" traffic volumes, "NNNN=V;V;" other values
// (lengths in metafile units), "#..." inactive, "*..." text. Script fields
// refer to these lines through value expressions such as [0001+0002-0007].
#include <QString>
#include <QStringList>

namespace korvimo {

enum class ValueMode {
    Thickness, // a volume becomes a band width (sfactor, intmin)
    Raw,       // every line's number as written (volume labels)
};

// Looks names up in one volumes list (the renderer's working copy). Holds
// references: the list must outlive the table.
class VolumeTable {
public:
    VolumeTable(const QStringList& lines, int sfactor, int intmin)
        : m_lines(lines), m_sfactor(sfactor), m_intmin(intmin) {}

    // The first line whose first four characters equal the name; 0 when none
    // does. Throws ConversionError when the matching line's number is
    // malformed.
    long double lookUp(ValueMode mode, QStringView name) const;

    // "[" names joined by "+" or "-" "]". The expression ends at the first
    // character after a name that is neither "+" nor "-" (so "]", a blank or
    // the end of the text); an empty text is 0.
    long double evaluate(ValueMode mode, QStringView expression) const;

private:
    const QStringList& m_lines;
    int m_sfactor;
    int m_intmin;
};

// The largest volume of the active lines that contain an "I" anywhere, -1
// when there is none. Throws ConversionError for a malformed number there.
int highestVolume(const QStringList& lines);

// The volume scale chosen for a freshly loaded diagram from its highest
// volume: 1000 when there is no positive volume, else 100 x (5000 / highest,
// rounded half to even), and never below 100.
int sfactorForHighestVolume(int highest);

// Replaces every volume line by "NNNN=NNNN;I;", so labels and band widths
// show the direction numbers. Meant for the renderer's working copy only.
void applyShowDirections(QStringList& lines);

// A volume label: the raw value rounded half to even, or empty when it is
// below intminnumber (a threshold of 0 shows every label, negative ones too).
QString volumeLabel(long double raw, int intminnumber);

} // namespace korvimo
