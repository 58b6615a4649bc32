#pragma once
// Windows-1252, the code page of the program's own text files and of WMF
// text. fromWindows1252 never fails and maps every byte to one character
// (the five undefined ones to the C1 control of the same value, as Windows
// does), so bytes survive a round trip; toWindows1252 writes '?' for a
// character that has no byte and then sets *ok to false.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace korvimo {

QString fromWindows1252(QByteArrayView bytes);
QByteArray toWindows1252(QStringView text, bool* ok = nullptr);
bool fitsWindows1252(QStringView text);

} // namespace korvimo
