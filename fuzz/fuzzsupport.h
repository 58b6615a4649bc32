#pragma once
// What every fuzz target shares: a Qt application on the offscreen platform,
// a program around one document whose messages go nowhere, and a scratch
// folder for the files the readers want by name.
//
// The targets are built twice: with clang and libFuzzer (scripts/fuzz.sh),
// and with the normal compiler against replay.cpp, which feeds every file
// of a corpus folder through the target once (make test).
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

#include "core/messenger.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/library.h"

namespace korvimo::fuzz {

// Messages are counted, not kept: a fuzz run says millions of them.
class SilentMessenger final : public Messenger {
public:
    void error(const QString&) override { ++said; }
    void information(const QString&) override { ++said; }
    void warning(const QString&) override { ++said; }
    using Messenger::question;
    int question(const QString&, const QString&, const QString&, const QString&, const QString&, int) override
    {
        ++said;
        return Cancel;
    }
    long long said = 0;
};

// Makes the application once; every target calls it first.
void ensureApplication();

// The scratch folder of this process, with a trailing "/".
QString scratchFolder();

// Writes the input to scratchFolder() + name and returns the path.
QString writeScratch(const QString& name, const uint8_t* data, size_t size);

// A fresh program and document, as the command-line tool sets them up: the
// template library of the built data folder, the scratch folder as the
// temporary folder.
struct Program {
    SilentMessenger messenger;
    ProgramContext ctx;
    DiagramDocument doc;
    DiagramFile files{ctx, doc};
    DiagramLibrary library{ctx};
    Program();
};

// Opens the input as a file of the given name through the open procedure,
// then writes the diagram out again in memory, as Save would.
void openAndSave(const QString& name, const uint8_t* data, size_t size);

} // namespace korvimo::fuzz
