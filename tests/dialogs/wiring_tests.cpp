// The data and output commands of the main window, with their windows.
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "document/diagramfile.h"
#include "support/testsupport.h"
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "ui/dialogs/tafdrukkenform.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/dialogs/tproginstelform.h"
#include "uikit/theme.h"
#include "dialogs/dialogfixture.h"
#include "ui/shellfixture.h"

namespace {

class Dialogs_WiringTests : public test::ShellFixture {};

TEST_F(Dialogs_WiringTests, NewCommandOpensTheChosenTemplate)
{
    // New empties the document and shows the dialog; OK on the four-arm crossing opens it as an untitled diagram.
    doc.script << QStringLiteral("old line");
    QString seen;
    test::whenModalOpens([&](QWidget* w) {
        seen = w->objectName();
        auto* dlg = qobject_cast<korvimo::TNieuwForm*>(w);
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(dlg->selectCode(QStringLiteral("011400")));
        dlg->BitBtn1->click();
    });
    act("FileNewAction")->trigger();
    EXPECT_EQ(seen, "NieuwForm");
    EXPECT_FALSE(doc.script.contains(QStringLiteral("old line")));
    EXPECT_FALSE(doc.coordinates.isEmpty());
    EXPECT_TRUE(form->windowTitle().startsWith("Korvimo - Korvimo_"));
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Dialogs_WiringTests, NewAndOpenCancelledKeepTheDiagram)
{
    // A changed diagram, "do not save", then Cancel in the new-diagram dialog or the open dialog:
    // the diagram stays with its lines and its changes. Cancel in the save question shows no dialog.
    doc.script = {QStringLiteral("old line")};
    doc.setModified(true);
    int dialogs = 0;
    messenger.answers = {korvimo::Messenger::No};
    test::whenModalOpens([&](QWidget* w) {
        ++dialogs;
        qobject_cast<QDialog*>(w)->reject();
    });
    act("FileNewAction")->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(doc.script, QStringList{QStringLiteral("old line")});
    EXPECT_TRUE(doc.isModified());

    messenger.answers = {korvimo::Messenger::No};
    openChoice.clear();
    act("FileOpenAction")->trigger();
    EXPECT_EQ(doc.script, QStringList{QStringLiteral("old line")});
    EXPECT_TRUE(doc.isModified());

    messenger.answers = {korvimo::Messenger::Cancel};
    act("FileNewAction")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(messenger.count(korvimo::RecordingMessenger::Entry::Question), 3);
    EXPECT_EQ(doc.script, QStringList{QStringLiteral("old line")});
}

TEST_F(Dialogs_WiringTests, ImportsFollowTheTrafficSideOfTheSettingAfterTheDialogWasCancelled)
{
    // LibLeftHandTraffic on, the new-diagram dialog shown and cancelled (after picking right-hand
    // traffic): an OD file then opens its template with left-hand traffic.
    ctx.settings.libLeftHandTraffic = true;
    test::whenModalOpens([&](QWidget* w) {
        auto* dlg = qobject_cast<korvimo::TNieuwForm*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(dlg->LhRadioButton->isChecked());
        dlg->RhRadioButton->setChecked(true);
        dlg->reject();
    });
    act("FileNewAction")->trigger();
    EXPECT_TRUE(ctx.settings.libLeftHandTraffic);
    QTemporaryDir dir;
    openChoice = dir.filePath(QStringLiteral("k.in"));
    test::writeAll(openChoice, "t\r\nK001 4Title\r\nA    0  East                      0     11     12     13\r\n");
    act("FileOpenAction")->trigger();
    EXPECT_FALSE(doc.script.isEmpty());
    EXPECT_EQ(doc.general.arrowsize, -40);
}

TEST_F(Dialogs_WiringTests, CommandsOfTheFamilyAreAvailable)
{
    // Export, print, copy, arms and settings come with this family of windows; the library is attached to the open procedure.
    for (const char* name : {"FileExportAction", "FilePrintAction", "EditCopyDiagramAction", "DiagramArmsAction",
                             "ExtraSettingsAction"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
    EXPECT_NE(form->diagramFile().templateLibrary(), nullptr);
}

TEST_F(Dialogs_WiringTests, SettingsCommandStoresOnOk)
{
    // Programma-instellingen opens on its first page; OK stores the zoom step and writes the settings file at once,
    // Cancel writes nothing; the main window goes on.
    test::whenModalOpens([&](QWidget* w) {
        auto* dlg = qobject_cast<korvimo::TProgInstelForm*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->PageControl1->currentIndex(), 0);
        dlg->ZoomInOutSpinEdit->setValue(80);
        dlg->BitBtn1->click();
    });
    act("ExtraSettingsAction")->trigger();
    EXPECT_EQ(ctx.settings.zoomInOutValue, 80);
    EXPECT_EQ(ctx.settings.interfaceTheme, 2);
    EXPECT_EQ(settingsWritten, 1);
    test::whenModalOpens([&](QWidget* w) {
        auto* dlg = qobject_cast<korvimo::TProgInstelForm*>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->ZoomInOutSpinEdit->setValue(90);
        dlg->BitBtn2->click();
    });
    act("ExtraSettingsAction")->trigger();
    EXPECT_EQ(ctx.settings.zoomInOutValue, 80);
    EXPECT_EQ(settingsWritten, 1);
}

TEST_F(Dialogs_WiringTests, BaseColourSwatchesUseTheProgramsColourChoice)
{
    // A base-colour swatch opens the script editor's colour dialog preset with the swatch as "Other color"; a diagram colour chosen there lands in the swatch, and cancel leaves it.
    doc.general.color[2] = 0x00336699;
    QColor swatch, afterCancel;
    QString entry, text;
    test::whenModalOpens([&](QWidget* w) {
        auto* dlg = qobject_cast<korvimo::TProgInstelForm*>(w);
        ASSERT_NE(dlg, nullptr);
        const QColor before = dlg->swatchColor(0);
        for (int pass = 0; pass < 2; ++pass) {
            test::whenModalOpens([&, pass](QWidget* k) {
                auto* colours = qobject_cast<korvimo::TKleurForm*>(k);
                ASSERT_NE(colours, nullptr);
                if (pass == 1) {
                    colours->reject();
                    return;
                }
                entry = colours->entryBox()->currentText();
                text = colours->colourText();
                colours->entryBox()->setCurrentIndex(3); // "Color0003"
                colours->accept();
            });
            dlg->colorSwatches[0]->click();
            (pass == 0 ? swatch : afterCancel) = dlg->swatchColor(0);
        }
        EXPECT_NE(before, swatch);
        EXPECT_EQ(text, QString::number(korvimo::uikit::toWindowsColor(before)));
        dlg->BitBtn2->click();
    });
    act("ExtraSettingsAction")->trigger();
    EXPECT_EQ(entry, "Other color");
    EXPECT_EQ(swatch, korvimo::uikit::fromWindowsColor(0x00336699));
    EXPECT_EQ(afterCancel, swatch);
}

TEST_F(Dialogs_WiringTests, PrintCommandWarnsWithoutPrinterAndStillPrintsToPdf)
{
    // Without a system printer AA00007 comes before the first print of the run only, and the dialog then prints to
    // PDF files each time; with a printer, no warning.
    const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
    bool pdf = false;
    int dialogs = 0;
    for (int i = 0; i < 3; ++i) {
        test::whenModalOpens([&](QWidget* w) {
            auto* dlg = qobject_cast<korvimo::TAfdrukkenForm*>(w);
            ASSERT_NE(dlg, nullptr);
            ++dialogs;
            pdf = dlg->printsToPdf();
            dlg->BitBtn2->click();
        });
        act("FilePrintAction")->trigger();
    }
    EXPECT_EQ(dialogs, 3);
    if (noPrinter) {
        ASSERT_EQ(messenger.entries.size(), 1);
        EXPECT_EQ(messenger.entries[0].kind, korvimo::RecordingMessenger::Entry::Warning);
        EXPECT_TRUE(messenger.entries[0].text.contains("geen printers"));
        EXPECT_TRUE(messenger.entries[0].text.contains("Korvimo"));
        EXPECT_TRUE(pdf);
    } else {
        EXPECT_TRUE(messenger.entries.isEmpty());
    }
    EXPECT_FALSE(doc.isModified());
}

TEST(Dialogs_StartUpTests, NewDialogShowsAtStartUpUnlessAFileWasGiven)
{
    // With StartShowNewForm on and no command-line file the dialog appears once start-up ends; cancelling leaves the empty diagram.
    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    ctx.paths = korvimo::ProgramPaths::forProgramFolder(QStringLiteral(KORVIMO_BIN_DIR));
    ctx.messenger = &messenger;
    ctx.settings.interfaceTheme = 2;
    korvimo::uikit::Theme theme(QApplication::palette());
    korvimo::DiagramDocument doc;
    test::CountingRenderer renderer;
    korvimo::THoofdForm form(ctx, doc, theme);
    form.setRenderer(&renderer);
    form.setStartupInfoMilliseconds(0);
    form.readSettings = [] {};
    form.writeSettings = [] {};
    int shown = 0;
    test::whenModalOpens([&](QWidget* w) {
        if (w->objectName() == QLatin1String("NieuwForm"))
            ++shown;
        qobject_cast<QDialog*>(w)->reject();
    });
    form.show();
    form.FormActivate();
    ASSERT_TRUE(test::waitUntil([&] { return form.startupFinished(); }));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(doc.script.isEmpty());
}

TEST(Dialogs_PositionTests, WindowsShownThisRunAreRememberedAtExit)
{
    // The exit step writes the position of each window that was shown, and keeps the entry of one never shown.
    QTemporaryDir dir;
    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    ctx.paths = korvimo::ProgramPaths::forProgramFolder(QStringLiteral(KORVIMO_BIN_DIR));
    ctx.paths.settingsFile = dir.filePath(QStringLiteral("Korvimo.ini"));
    ctx.messenger = &messenger;
    ctx.settings.interfaceTheme = 2;
    // The start-up reads the file, so the entry of the previous run is in it.
    test::writeAll(ctx.paths.settingsFile, "[Korvimo settings]\r\n\r\n[**General variables**]\r\nInterfaceTheme=2\r\n"
                                           "StartShowNewForm=0\r\nLanguageSet=1\r\nLanguage=Nederlands\r\n\r\n[**Form positions**]\r\n"
                                           "ArmenForm=M:0;L:50;T:60;W:406;H:486;N:0;\r\n");
    korvimo::uikit::Theme theme(QApplication::palette());
    korvimo::DiagramDocument doc;
    test::CountingRenderer renderer;
    korvimo::THoofdForm form(ctx, doc, theme);
    form.setRenderer(&renderer);
    form.setStartupInfoMilliseconds(0);
    form.move(100, 100);
    form.show();
    form.FormActivate();
    ASSERT_TRUE(test::waitUntil([&] { return form.startupFinished(); }));
    // One window of the output family and one of the editing family.
    for (const char* command : {"FileExportAction", "DiagramTextsAction"}) {
        test::whenModalOpens([](QWidget* w) {
            w->move(150, 120);
            qobject_cast<QDialog*>(w)->reject();
        });
        form.action(QString::fromLatin1(command))->trigger();
    }
    form.writeSettings();
    const QString text = QString::fromLatin1(test::readAll(ctx.paths.settingsFile));
    EXPECT_TRUE(text.contains(QStringLiteral("ExporterenForm=M:0;L:150;T:120;"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("TextForm=M:0;L:150;T:120;"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ArmenForm=M:0;L:50;T:60;W:406;H:486;N:0;")));
    EXPECT_TRUE(text.contains(QStringLiteral("HoofdForm=")));
}

} // namespace
