// "Diagram > Vergelijken met...": the open diagram against a second file,
// one undo step, and the open diagram left alone when the comparison fails.
#include <QTemporaryDir>

#include "document/diagramfile.h"
#include "document/filecommands.h"
#include "editingfixture.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

class Editing_CompareTests : public test::EditingFixture {
protected:
    void SetUp() override
    {
        EditingFixture::SetUp();
        doc.coordinates = {"0001=10;10;", "0002=200;10;"};
        doc.script = {"LNE;1;0001;0002;[0100];[0001];Color0005;N;A;",
                      "TXT;1;P;0001;[0100];[0100];0;L;NNN;60;0;I;[0001];"};
        doc.intensities = {"0001=100;I;", "0100=20;V;"};
        doc.fileName = "/data/telling.kvo";
        doc.announceChanged();
    }

    // A scenario file with volume v for 0001, saved beside the test.
    QString scenario(const QString& volume, bool sameScript = true)
    {
        DiagramDocument other;
        other.coordinates = doc.coordinates;
        other.script = sameScript ? doc.script : QStringList{"NTH;1;0001;20;"};
        other.intensities = {"0001=" + volume + ";I;", "0100=20;V;"};
        DiagramFile writer(ctx, other);
        const QString path = dir.path() + "/plan" + volume + ".kvo";
        EXPECT_TRUE(writer.StromenBestandOpslaan(path));
        return path;
    }

    void chooseFile(const QString& path)
    {
        form->fileCommands().dialogs.openFileName = [path](const QString&) { return path; };
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Editing_CompareTests, TheOpenDiagramBecomesTheComparisonAndUndoBringsItBack)
{
    // 100 -> 160 is +60: one band of width 60 in colour 1, label "+60", untitled and modified.
    chooseFile(scenario("160"));
    act("DiagramCompareAction")->trigger();
    EXPECT_EQ(doc.intensities.value(0), "0001=60;I;");
    EXPECT_EQ(doc.script.value(0), "LNE;1;0001;0002;[0100];[0001];Color0001;N;A;");
    EXPECT_EQ(doc.script.value(1), "TXT;1;P;0001;[0100];[0100];0;L;NNN;60;0;T;[\"+60\"];");
    EXPECT_EQ(doc.fileName, form->diagramFile().untitledName());
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(form->windowTitle().contains(form->diagramFile().untitledName())) << form->windowTitle().toStdString();
    EXPECT_EQ(messenger.entries.size(), 0) << messenger.texts().join('\n').toStdString();

    act("EditUndoAction")->trigger();
    EXPECT_EQ(doc.intensities.value(0), "0001=100;I;");
    EXPECT_EQ(doc.script.value(1), "TXT;1;P;0001;[0100];[0100];0;L;NNN;60;0;I;[0001];");
}

TEST_F(Editing_CompareTests, FailuresSayWhyAndChangeNothing)
{
    // Another base, an unreadable file, a cancelled dialog: the diagram stays as it was.
    const DocumentContent before = doc.content();
    chooseFile(scenario("160", false));
    act("DiagramCompareAction")->trigger();
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_EQ(doc.content(), before);
    EXPECT_EQ(doc.fileName, "/data/telling.kvo");

    messenger.clear();
    chooseFile(dir.path() + "/missing.kvo");
    act("DiagramCompareAction")->trigger();
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_EQ(doc.content(), before);

    messenger.clear();
    chooseFile(QString());
    act("DiagramCompareAction")->trigger();
    EXPECT_TRUE(messenger.entries.isEmpty());
    EXPECT_FALSE(doc.isModified());
}
