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

// True, after an error message, when output names the same file as input
// (through links too): the caller then writes nothing.
bool refuseOutputOverInput(const QString& input, const QString& output, ProgramContext& ctx);

// Opens input the way the program's Open command does, into a new diagram.
// False when the file could not be read or the reading reported an error.
bool openInput(const QString& input, ProgramContext& ctx, DiagramDocument& doc);

} // namespace korvimo::cli
