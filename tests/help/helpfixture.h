#pragma once
// The main window with the language and help windows wired, on a program
// folder of its own, so tests can put language files and help pages there.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/help/helpsystem.h"
#include "ui/help/languagehelpwindows.h"
#include "ui/shellfixture.h"
#include "support/testsupport.h"

namespace test {

class HelpFixture : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        windows = form->findChild<korvimo::LanguageHelpWindows*>();
        ASSERT_NE(windows, nullptr);
    }

    // A program folder with the built data (Lng/, Hlp/) copied in.
    QString useOwnProgramFolder()
    {
        const QString root = folder.path() + QStringLiteral("/prog/");
        copyTree(QStringLiteral(KORVIMO_BIN_DIR) + QStringLiteral("/Lng"), root + QStringLiteral("Lng"));
        copyTree(QStringLiteral(KORVIMO_BIN_DIR) + QStringLiteral("/Hlp"), root + QStringLiteral("Hlp"));
        const QString config = ctx.paths.configFolder;
        ctx.paths = korvimo::ProgramPaths::forProgramFolder(root);
        ctx.paths.configFolder = config;
        return root;
    }

    static void copyTree(const QString& from, const QString& to)
    {
        QDir().mkpath(to);
        const QDir src(from);
        for (const QFileInfo& f : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (f.isDir())
                copyTree(f.filePath(), to + QLatin1Char('/') + f.fileName());
            else
                QFile::copy(f.filePath(), to + QLatin1Char('/') + f.fileName());
        }
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(writeAll(path, bytes));
    }

    korvimo::LanguageHelpWindows* windows = nullptr;
    QTemporaryDir folder;
};

} // namespace test
