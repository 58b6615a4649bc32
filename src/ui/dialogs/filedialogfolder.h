#pragma once
// Where the program's file dialogs start. Qt's dialogs open in the process's
// working folder when handed a bare file name, which is seldom where the
// user keeps diagrams; these pick the folder a user expects instead.
#include <QString>
#include <QStringList>

namespace korvimo {

// The folder of the open diagram when it is a file on disk: not for the
// untitled name, nor for a diagram read from a template's temporary copy.
QString documentFolder(const QString& documentFileName, const QString& tempFolder);

// The first of `folders` that is not empty and exists, else the user's home
// folder; with `name` (a bare file name, may be empty) appended.
QString dialogStartPath(const QStringList& folders, const QString& name);

} // namespace korvimo
