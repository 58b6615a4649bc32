#pragma once
// The windows around data and output on the offscreen platform, over a
// document with the program's own template library attached, and helpers
// to answer the modal windows a command opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

#include "support/qtprinting.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/library.h"


namespace test {

// Runs `step` on the first modal window that opens (within five seconds),
// then lets the caller's exec() return: the way a user answers a dialog a
// command opens.
inline void whenModalOpens(std::function<void(QWidget*)> step)
{
    auto* timer = new QTimer();
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 500)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            step(modal);
    });
    timer->start(10);
}

class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        ctx.paths = korvimo::ProgramPaths::forProgramFolder(QStringLiteral(KORVIMO_BIN_DIR) + QLatin1Char('/'));
        ctx.paths.tempFolder = scratch.path() + QLatin1Char('/');
        ctx.messenger = &messenger;
        files.setTemplateLibrary(&library);
        library.TekstenDiagramOphalenUitBestand();
        doc.fileName = files.untitledName();
    }

    QString scratchFile(const QString& name) const { return scratch.filePath(name); }

    QTemporaryDir scratch;
    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    korvimo::DiagramDocument doc;
    korvimo::DiagramFile files{ctx, doc};
    korvimo::DiagramLibrary library{ctx};
};

} // namespace test
