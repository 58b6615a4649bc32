#pragma once
// What the arms wizard does after it has placed the arm points, so that a
// template or an import reads well at any angle: the street names of the
// arms are put beside the bands, and the crossing is kept inside the
// picture. Both work by moving points and changing the diagram's size and
// arm distances, so the diagram file holds nothing it did not hold before.
//
// Contract
// - Street names: a TXT line that shows "StreetnameNN" from position R with
//   two points of its own (neither an arm point nor the centre), anchor C,
//   alignment C and no rotation, belongs to arm NN when that arm is
//   defined. Its two points are set along the arm: with the program setting
//   PlaceNamesClear off on the arm's own two points (the name lies in the
//   middle of the arm, as it always did), with it on where the name's cell
//   overlaps no band and no other text, as near the middle of the arm as
//   can be, moving along the arm until it is clear. The point order makes
//   the name read from left to right. Other texts are never touched.
// - The crossing inside the picture: everything drawn outside the frame,
//   the title and total texts, the logo and the north arrow must lie within
//   the diagram, at a margin from its edges, and clear of the strips at the
//   top and the bottom that those hold. When it does not, the centre point
//   moves, then the diagram grows (up to the program's maximum diagram
//   size, points in its right or bottom half moving with the edge), then the
//   arms get shorter (armdistp1p2, not below a fifth of what it was), until
//   it fits.
// - Nothing happens without a centre or without arms. Returns true when
//   anything moved; recording that change is the caller's (an edit marks
//   the document changed, a freshly opened template stays as opened).
//   Messages the trial drawings give are not shown; the program's own
//   redraw shows them.
namespace korvimo {

class DiagramDocument;
struct ProgramContext;

bool armsWizardFinish(DiagramDocument& doc, const ProgramContext& ctx);

} // namespace korvimo
