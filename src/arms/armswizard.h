#pragma once
// The arms wizard without its window. An arm is two named points on a ray
// out of the centre point: arm point 1 at armdistcep1 from the centre, arm
// point 2 a further armdistp1p2 out. The wizard keeps its inputs in the
// diagram's general variables (armcenter, armdistcep1, armdistp1p2, arm01 ...
// arm16) and rewrites the coordinate lines of the arm points from them.
//
// The dialog maps its controls to ArmsWizardInput and back; the library runs
// load and apply back to back on an imported template. Both run on the
// document only: no script line and no volume is touched.
#include <QString>
#include <QStringList>
#include <array>

namespace korvimo {

class DiagramDocument;

inline constexpr int kArmCount = 16;

struct ArmRow {
    QString point1; // a coordinate number, or empty (blank selection)
    QString point2;
    int angle = 0; // degrees, counter-clockwise from the positive x axis
};

struct ArmsWizardInput {
    // The coordinate numbers every point choice offers, in list order (the
    // first four characters of every line that is neither "*" nor "#").
    QStringList pointNumbers;
    QString center; // empty = blank selection
    int distCenterToPoint1 = 100;
    int distBetweenPoints = 100;
    std::array<ArmRow, kArmCount> arms;
};

// FormActivate: the inputs as the diagram holds them. A stored number that is
// not among the choices loads as a blank selection; an angle that is not an
// integer (from character 11 of the definition on) loads as 0.
ArmsWizardInput armsWizardLoad(const DiagramDocument& doc);

// BitBtn1Click: stores the three base values, then - when the centre is found
// in the coordinate list - stores the arm definitions and places both points
// of every arm whose two points are chosen; an arm with a blank point is
// dropped. Marks the document changed on every path that gets past the base
// values. Throws ConversionError (document/integertext.h) when the centre's x
// or y is not a decimal integer; only the base values are stored then.
//
// With ringFollows (the program setting RingFollowsArms) the ring points
// turn with the arms too: every point that a band line (ARC, AR2, LNE) uses,
// that is neither the centre nor an arm point and lies nearer to the centre
// than armdistcep1, keeps its distance from the centre and its place within
// the angle between the two arms it lay between (as the arms' points stood
// before, so that an import that rewrote the angles first is followed too),
// now measured between those arms' new angles. So a roundabout's
// ring stations follow the arms wherever they are turned. Nothing moves when
// the centre point changes or fewer than two arms stay defined.
void armsWizardApply(DiagramDocument& doc, const ArmsWizardInput& input, bool ringFollows = true);

// The apply step without marking the document changed, for callers that
// move the arms again as part of a larger change of their own.
void placeArmPoints(DiagramDocument& doc, const ArmsWizardInput& input, bool ringFollows = true);

// The ring points described above, by name, as the diagram stands.
QStringList ringPoints(const DiagramDocument& doc);

// A plain "NNNN=x;y;" point of the coordinates, by name: false when there is
// none or it is anything else (an expression, a missing number).
bool readPlainPoint(const QStringList& coordinates, const QString& name, int& x, int& y);
// Rewrites the named point as "NNNN=x;y;"; nothing when there is none.
void writePlainPoint(QStringList& coordinates, const QString& name, int x, int y);

// Where an arm point lands: centre + round(cos a x d), centre - round(sin a x d),
// with the angle taken in single precision as the wizard always has.
int armPointX(int cx, int angle, int distance);
int armPointY(int cy, int angle, int distance);

} // namespace korvimo
