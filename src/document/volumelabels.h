#pragma once
// Volume labels made fixed: a diagram whose labels say more than one number
// (a signed change, a share of heavy vehicles) keeps its labels where they
// were and turns each into a free text, which every reader draws.
#include <QString>
#include <QStringList>
#include <functional>

namespace korvimo {

// Every active volume label line (TXT whose content is "I" and a value
// expression) becomes the same line with the content T and the quoted text
// label(expression). Comment lines, inactive lines and other texts stay.
// With inGroup, only the labels after a GRP line whose group name it accepts
// change (before the first GRP line the group name is empty).
void fixVolumeLabels(QStringList& script, const std::function<QString(const QString& expression)>& label,
                     const std::function<bool(const QString& group)>& inGroup = {});

// The names of a value expression "[0001+0002-0003]", in order.
QStringList expressionNames(const QString& expression);

} // namespace korvimo
