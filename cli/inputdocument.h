#pragma once
// What every command that reads a diagram shares: the open procedure with the
// template library attached (version-2 files and imports need it), and a
// messenger that counts errors (core/messenger.h) so that a complaint ends
// with status 1.
#include <QString>

#include "core/programcontext.h"
#include "document/diagramdocument.h"

namespace korvimo::cli {

// True, after an error message, when output names the same file as input
// (through links too): the caller then writes nothing.
bool refuseOutputOverInput(const QString& input, const QString& output, ProgramContext& ctx);

// Opens input the way the program's Open command does, into a new diagram.
// False when the file could not be read or the reading reported an error.
bool openInput(const QString& input, ProgramContext& ctx, DiagramDocument& doc);

} // namespace korvimo::cli
