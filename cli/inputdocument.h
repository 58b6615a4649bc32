#pragma once
// What every command that reads a diagram shares: the open procedure with the
// template library attached (version-2 files and imports need it), and a
// messenger that counts errors so that a complaint ends with status 1.
#include <QString>

#include "core/programcontext.h"
#include "document/diagramdocument.h"

namespace korvimo::cli {

// Passes messages on to inner and counts the errors.
class ErrorCountingMessenger final : public Messenger {
public:
    explicit ErrorCountingMessenger(Messenger& inner) : m_inner(inner) {}
    void error(const QString& text) override
    {
        ++errors;
        m_inner.error(text);
    }
    void information(const QString& text) override { m_inner.information(text); }
    void warning(const QString& text) override { m_inner.warning(text); }
    using Messenger::question;
    int question(const QString& title, const QString& text, const QString& yes, const QString& no,
                 const QString& cancel, int defaultAnswer) override
    {
        return m_inner.question(title, text, yes, no, cancel, defaultAnswer);
    }
    int errors = 0;

private:
    Messenger& m_inner;
};

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
