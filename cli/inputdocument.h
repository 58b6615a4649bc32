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

// What became of reading the input.
enum class InputRead {
    Failed,     // no diagram to work on: unreadable, not a diagram, or an error reported
    Complete,   // the diagram as the file holds it
    Incomplete, // a diagram, but without data the template could not place (reported)
};

// Opens input the way the program's Open command does, into a new diagram.
// A command goes on with an Incomplete diagram and ends with status 1.
InputRead openInput(const QString& input, ProgramContext& ctx, DiagramDocument& doc);

// The exit status after work that succeeded (true) or not, on an input read
// so: 1 for an incomplete input even when the work went well.
inline int exitStatus(InputRead read, bool workDone) { return workDone && read == InputRead::Complete ? 0 : 1; }

} // namespace korvimo::cli
