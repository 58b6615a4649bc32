#pragma once
// Vehicle classes: OD files, CSV files and import requests may carry a
// volume per class (motor vehicles, heavy vehicles, bicycles, ...) beside
// the volume they always had. What is drawn is chosen by a class choice:
// one class ("VRA"), or a weighted sum with a factor per class
// ("MVT+VRA*2", passenger-car units). Files without classes and choices
// without terms draw what they always drew.
//
// Rounding: each movement's drawn volume is the sum of factor x class
// volume, rounded half to even to a whole number; totals are sums of those
// whole numbers, as every volume label sums its lines.
//
// A share class ("VRA") makes every movement's volume label "480 (12 %)"
// (totals keep their plain number): the drawn volume, then the share class's vehicles as a percentage of the vehicles
// of the classes drawn (unweighted), rounded half to even; no percentage
// where those vehicles are 0.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

struct ClassTerm {
    QString name; // upper case
    double factor = 1;
};

struct ClassChoice {
    QList<ClassTerm> terms; // empty: the file's own volumes
    QString shareClass;     // upper case; empty: plain labels
    bool isEmpty() const { return terms.isEmpty() && shareClass.isEmpty(); }
};

// "MVT", "mvt + vra*2", "VRA*2.5": class names of letters, digits and "_",
// compared without regard to case; factors decimal with a point, 0 to 1000.
// An empty text is an empty choice. False, with *bad the offending part,
// for anything else.
bool parseClassChoice(const QString& terms, const QString& shareClass, ClassChoice* out, QString* bad);

// The volumes per class of every intensity, as a reader collects them.
class ClassVolumes {
public:
    void add(const QString& className, const QString& intensity, long long volume);
    bool isEmpty() const { return m_classes.isEmpty(); }
    bool hasClass(const QString& className) const;
    QStringList classes() const { return m_classes; }
    QStringList intensities() const { return m_intensities; }
    long long volume(const QString& className, const QString& intensity) const;
    // The sum of factor x class volume, rounded half to even.
    long long drawn(const ClassChoice& choice, const QString& intensity) const;

private:
    QStringList m_classes;     // upper case, in order of appearance
    QStringList m_intensities; // in order of appearance
    QHash<QString, long long> m_volumes; // class + "/" + intensity
};

// The choice that applies to a file: the request's own (DrawClasses,
// ShareClass) when it gives one, else the program settings VolumeClasses
// and VolumeShareClass. A text that is no choice is reported (AA00258) and
// gives the empty choice.
ClassChoice classChoiceFor(ProgramContext& ctx, const QString& requestTerms, const QString& requestShare);

// Puts the choice's volumes into a freshly read volume list: every intensity
// of volumes gets its drawn volume. A class the choice names (the share
// class included) that the file lacks is reported (AA00257, with fileName)
// and nothing is changed: the file's own volumes stay. Returns whether the
// choice applies; an empty choice does not.
bool applyClassVolumes(ProgramContext& ctx, const QString& fileName, const ClassChoice& choice,
                       const ClassVolumes& volumes, QStringList& intensities);

// With a share class: every movement label of doc becomes "480 (12 %)"; the
// labels in the groups of totals stay.
// Labels below intminnumber stay empty, as drawn labels do.
void applyShareLabels(const ClassChoice& choice, const ClassVolumes& volumes, DiagramDocument& doc);

// Both, for a reader that has filled doc: true when the choice applied.
bool applyClassChoice(ProgramContext& ctx, const QString& fileName, const ClassChoice& choice,
                      const ClassVolumes& volumes, DiagramDocument& doc);

} // namespace korvimo
