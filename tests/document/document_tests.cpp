#include <gtest/gtest.h>

#include "document/diagramfile.h"
#include "document/documenttestenv.h"
#include "document/filecommands.h"
#include "document/integertext.h"

using namespace korvimo;
using test::DocumentEnv;

TEST(Document_ModelTests, NewDocumentDefaultsAndKeyOrder)
{
    // A new document holds the defaults, writes every key once in table order (fileversion first,
    // arrow size as 4) and takes fonts and colours from the program settings.
    DocumentEnv e;
    e.ctx.settings.fontNameDefault = QStringLiteral("Verdana");
    e.ctx.settings.basicColors[2] = 42;
    e.file.BasisInstellingenDatabestand();
    const QStringList lines = generalVariableLines(e.doc.general);
    ASSERT_EQ(lines.size(), 1 + 23 + 19 + 16 + 5 + 16 + 3 + 16 + 1);
    EXPECT_EQ(lines[0], QStringLiteral("fileversion=300"));
    EXPECT_EQ(lines[1], QStringLiteral("fontname=Verdana"));
    EXPECT_EQ(lines[4], QStringLiteral("arrowsize=4"));
    EXPECT_EQ(lines[24], QStringLiteral("grpframe=1"));
    EXPECT_EQ(lines[28], QStringLiteral("grpi-incomming=1"));
    EXPECT_EQ(lines[43], QStringLiteral("color0001=0"));
    EXPECT_EQ(lines[45], QStringLiteral("color0003=42"));
    EXPECT_EQ(lines[59], QStringLiteral("title01=Title01"));
    EXPECT_EQ(lines[64], QStringLiteral("streetname01=Streetname01"));
    EXPECT_EQ(lines[80], QStringLiteral("armcenter="));
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("arm16="));
    EXPECT_EQ(lines.last(), QStringLiteral("grplegend=1"));
    EXPECT_EQ(e.doc.general.printfontname, QStringLiteral("Verdana"));
    QSet<QString> keys;
    for (const auto& k : generalVariableKeys())
        keys.insert(k.key);
    EXPECT_EQ(keys.size(), lines.size());
    EXPECT_NE(findGeneralVariableKey(u"GRPI-OUTGOINGTOTAL"), nullptr);
}

TEST(Document_ModelTests, PrintFontStyleFlags)
{
    // NYN is italic only; a lower-case y is not "on"; a short value leaves the rest off.
    GeneralVariables g;
    g.printfontstyle = QStringLiteral("NYN");
    EXPECT_FALSE(g.printFontBold());
    EXPECT_TRUE(g.printFontItalic());
    EXPECT_FALSE(g.printFontUnderline());
    g.printfontstyle = QStringLiteral("yNN");
    EXPECT_FALSE(g.printFontBold());
    g.printfontstyle = QStringLiteral("Y");
    EXPECT_TRUE(g.printFontBold());
    EXPECT_FALSE(g.printFontUnderline());
}

TEST(Document_ModelTests, CaptionAndModifiedFlag)
{
    // The caption shows the file name without its folder; the modified flag signals only when it flips.
    EXPECT_EQ(programmaCaption(QStringLiteral("Korvimo_Nieuw.kvo")), QStringLiteral("Korvimo - Korvimo_Nieuw.kvo"));
    EXPECT_EQ(programmaCaption(QStringLiteral("/home/u/plans/a.kvo")), QStringLiteral("Korvimo - a.kvo"));
    EXPECT_EQ(programmaCaption(QString()), QStringLiteral("Korvimo"));
    DiagramDocument doc;
    int flips = 0, changes = 0;
    QObject::connect(&doc, &DiagramDocument::modifiedChanged, [&](bool) { ++flips; });
    QObject::connect(&doc, &DiagramDocument::changed, [&] { ++changes; });
    doc.markChanged();
    doc.markChanged();
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(flips, 1);
    EXPECT_EQ(changes, 2);
}

TEST(Document_ModelTests, NewDocumentWithoutChangesAsksNothing)
{
    // With Dutch texts a new diagram is untitled, empty and captioned Korvimo - Korvimo_Nieuw.kvo.
    DocumentEnv e;
    QString caption;
    e.file.hooks.setCaption = [&](const QString& c) { caption = c; };
    e.doc.script << QStringLiteral("GRP;1;Frame;");
    e.doc.notes << QStringLiteral("n");
    e.doc.general.sfactor = 5;
    e.doc.fileName = QStringLiteral("/x/old.kvo");
    FileCommands cmd(e.file);
    EXPECT_TRUE(cmd.NieuwBestandMaken());
    EXPECT_TRUE(e.messages.entries.isEmpty());
    EXPECT_EQ(caption, QStringLiteral("Korvimo - Korvimo_Nieuw.kvo"));
    EXPECT_EQ(e.doc.fileName, QStringLiteral("Korvimo_Nieuw.kvo"));
    EXPECT_TRUE(e.doc.script.isEmpty());
    EXPECT_TRUE(e.doc.notes.isEmpty());
    EXPECT_EQ(e.doc.general.sfactor, 1000);
    EXPECT_DOUBLE_EQ(e.doc.general.arrowsize, 40.0);
}

TEST(Document_ModelTests, NewDocumentQuestionAnswers)
{
    // A changed document asks; "&Opslaan" saves and keeps the document, "&Niet opslaan" discards,
    // "&Annuleren" keeps everything.
    DocumentEnv e;
    e.ctx.texts.set(QStringLiteral("ZB00011"), QStringLiteral("&Opslaan"));
    const QString path = e.path("kept.kvo");
    e.doc.fileName = path;
    e.doc.script << QStringLiteral("GRP;1;Frame;");
    e.doc.markChanged();
    FileCommands cmd(e.file);
    int saveDialogs = 0;
    cmd.dialogs.saveFileName = [&](const QString&, const QString&) { ++saveDialogs; return QString(); };

    e.messages.answers = {Messenger::Yes};
    EXPECT_FALSE(cmd.NieuwBestandMaken());
    ASSERT_EQ(e.messages.entries.size(), 1);
    EXPECT_EQ(e.messages.entries[0].title, QStringLiteral("Bestand opslaan?"));
    EXPECT_EQ(e.messages.entries[0].text, "Bestand \"" + path + "\" is gewijzigd.");
    EXPECT_EQ(saveDialogs, 0);
    EXPECT_FALSE(e.doc.isModified());
    EXPECT_EQ(e.doc.script.size(), 1);
    EXPECT_TRUE(test::readAll(path).contains("GRP;1;Frame;\r\n"));

    e.doc.markChanged();
    e.messages.answers = {Messenger::Cancel};
    EXPECT_FALSE(cmd.NieuwBestandMaken());
    EXPECT_TRUE(e.doc.isModified());
    EXPECT_EQ(e.doc.script.size(), 1);

    e.messages.answers = {Messenger::No};
    EXPECT_TRUE(cmd.NieuwBestandMaken());
    EXPECT_FALSE(e.doc.isModified());
    EXPECT_TRUE(e.doc.script.isEmpty());
}

TEST(Document_ModelTests, SaveAsNamesAndOverwriteQuestion)
{
    // Save As appends ".kvo" unless the name ends in exactly ".kvo", asks before overwriting, and
    // takes the new name only when written; Save of an untitled document goes through Save As.
    DocumentEnv e;
    FileCommands cmd(e.file);
    QString answer = e.path("plan");
    QString proposed;
    cmd.dialogs.saveFileName = [&](const QString&, const QString& p) { proposed = p; return answer; };
    e.doc.markChanged();
    EXPECT_TRUE(cmd.Opslaan1Click());
    EXPECT_EQ(proposed, QStringLiteral("Korvimo_Nieuw.kvo"));
    EXPECT_EQ(e.doc.fileName, e.path("plan.kvo"));
    EXPECT_FALSE(e.doc.isModified());

    answer = e.path("PLAN.KVO");
    EXPECT_TRUE(cmd.Opslaanals1Click());
    EXPECT_EQ(e.doc.fileName, e.path("PLAN.KVO.kvo"));

    answer = e.path("plan.kvo");
    e.messages.answers = {Messenger::No};
    EXPECT_FALSE(cmd.Opslaanals1Click());
    EXPECT_EQ(e.messages.entries.last().title, QStringLiteral("Bestand overschrijven?"));
    // Enter must not destroy the old file: "do not overwrite" is the default.
    EXPECT_EQ(e.messages.entries.last().defaultAnswer, Messenger::No);
    EXPECT_EQ(e.doc.fileName, e.path("PLAN.KVO.kvo"));
    e.messages.answers = {Messenger::Yes};
    EXPECT_TRUE(cmd.Opslaanals1Click());
    EXPECT_EQ(e.doc.fileName, e.path("plan.kvo"));

    answer.clear();
    EXPECT_FALSE(cmd.Opslaanals1Click());
}

TEST(Document_ModelTests, OpenAndImportCommands)
{
    // Open makes a new document and reads the chosen file; cancelling the dialog keeps the document
    // that was open; Import only tells where the documentation is.
    DocumentEnv e;
    FileCommands cmd(e.file);
    bool panOff = false;
    e.file.hooks.panToolOff = [&] { panOff = true; };
    QString chosen = e.put("o.kvo", "[**Script**]\r\nGRP;1;Frame;\r\n");
    cmd.dialogs.openFileName = [&](const QString& filter) {
        EXPECT_TRUE(filter.contains("(*.kvoimp)"));
        return chosen;
    };
    e.doc.script << QStringLiteral("old");
    EXPECT_TRUE(cmd.Openen1Click());
    EXPECT_EQ(e.doc.script, QStringList{"GRP;1;Frame;"});
    EXPECT_TRUE(panOff);

    chosen.clear();
    EXPECT_FALSE(cmd.Openen1Click());
    EXPECT_EQ(e.doc.script, QStringList{"GRP;1;Frame;"});

    e.ctx.paths.programFolder = QStringLiteral("/opt/korvimo/");
    e.ctx.texts.set(QStringLiteral("AA00021"), QStringLiteral("Zie %s"));
    cmd.Importeren1Click();
    EXPECT_EQ(e.messages.texts().last(), QStringLiteral("Zie /opt/korvimo/AddOn"));
}

TEST(Document_ModelTests, IntegerText)
{
    // The integer reader takes the 32-bit range exactly and names the text it refuses.
    EXPECT_EQ(parseInteger(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseInteger(u"2147483647"), 2147483647);
    EXPECT_FALSE(parseInteger(u"2147483648"));
    EXPECT_FALSE(parseInteger(u"-"));
    EXPECT_FALSE(parseInteger(u"1 2"));
    EXPECT_EQ(toIntegerOr(u"x", 0), 0);
    try {
        toInteger(u"12a");
        FAIL();
    } catch (const ConversionError& err) {
        EXPECT_EQ(err.text(), QStringLiteral("'12a' is not a valid integer value"));
    }
}
