#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include "editingfixture.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/dialogs/tscriptform.h"

using namespace korvimo;

namespace {

class Editing_ScriptFormTests : public test::EditingFixture {
protected:
    void SetUp() override
    {
        EditingFixture::SetUp();
        for (int i = 1; i <= 30; ++i)
            doc.coordinates << QStringLiteral("%1=%2;%2;").arg(i, 4, 10, QLatin1Char('0')).arg(i * 10);
        doc.coordinates << QStringLiteral("#0031=1;1;") << QStringLiteral("*comment");
        doc.intensities = {"0001=100;I;", "0002=50;I;", "*text", "#0003=5;I;", "0100=30;V;"};
        compose();
    }

    // Opens the change dialog on a line and presses OK without touching anything.
    QString storeUnchanged(const QString& line)
    {
        doc.script = {line};
        form->views().OpnieuwTekenen();
        test::selectRow(op().scriptList(), 0);
        test::onWindow("ScriptForm", [](QWidget* w) { test::click(w, "OKButton"); });
        QTest::mouseClick(button("ScriptEditButton"), Qt::LeftButton);
        return doc.script.value(0);
    }
};

// Picks an entry of a drop-down with the arrow keys, as a user does.
void choose(QWidget* w, const char* name, const QString& entry)
{
    auto* c = test::child<QComboBox>(w, name);
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Home);
    for (int i = 0; i < c->count() && c->currentText() != entry; ++i)
        QTest::keyClick(c, Qt::Key_Down);
    EXPECT_EQ(c->currentText(), entry) << name;
}

// Fills a value field through its function button and the function dialog.
void valueThroughFunction(QWidget* w, const char* field, const QString& functionText)
{
    test::onWindow("IntensiteitenSomForm", [functionText](QWidget* d) {
        auto* edit = test::child<QLineEdit>(d, "Edit1");
        edit->clear();
        QTest::keyClicks(edit, functionText);
        test::click(d, "OKButton");
    });
    test::click(w, (QByteArray(field) + "Button").constData());
}

void colourThroughDialog(QWidget* w, const char* field, const QString& entry)
{
    test::onWindow("KleurForm", [entry](QWidget* d) {
        choose(d, "LNEComboBox3", entry);
        test::click(d, "OKButton");
    });
    test::click(w, (QByteArray(field) + "Button").constData());
}

} // namespace

TEST_F(Editing_ScriptFormTests, EveryExampleLineStoresBackUnchanged)
{
    // Each example line of the line format, opened for change and confirmed, is stored exactly as it was.
    const char* lines[] = {
        "GRP;1;I-incomming;",
        "IMG;1;BMP;0001;[\"logo.bmp\"];500;",
        "LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;",
        "ARC;1;0001;0002;0003;0004;[0100];[0101];[0005];255;A;N;A;",
        "CIR;1;0020;[0110];F;",
        "TXT;1;P;0007;[0102];[0103];0;C;NNN;100;0;I;[0001+0002];",
        "NTH;1;0030;40;",
        "REC;1;0001;0009;GV;16777215;12632256;",
        "TXT;1;R;[0003;0004];C;[0102];[0103];-15;R;YNY;80;Color0002;T;[\"a;b\"];",
        "TXT;1;P;0007;[0102];[0103];90;L;NYN;100;0;V;Streetname12;",
        "CIR;1;0020;[0110];S;0001;0002;[0100];[0001];0003;0004;[0101];[0002];",
        "#LNE;1;0001;0002;[0100];[0001];0;A;A;",
        "IMG;1;WMF;0002;[\"/tmp/a b;c.emf\"];1000;",
        "*a comment; with separators",
        "LEG;1;0030;500;Color0013;40;",
    };
    for (const char* l : lines) {
        const QString line = QString::fromUtf8(l);
        EXPECT_EQ(storeUnchanged(line), line);
    }
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 0) << messenger.texts().join('\n').toStdString();
}

TEST_F(Editing_ScriptFormTests, EveryElementTypeComposedThroughTheForm)
{
    // A user builds one line of each type with the point lists, the function dialog and the colour dialog.
    struct Case {
        const char* type;
        std::function<void(QWidget*)> fill;
        const char* expected;
    };
    const Case cases[] = {
        {"*Text", [](QWidget* w) { QTest::keyClicks(test::child<QLineEdit>(w, "TextEdit1"), "note"); }, "*note"},
        {"GRP", [](QWidget* w) { choose(w, "GRPComboBox1", "Logo"); }, "GRP;1;Logo;"},
        {"IMG",
         [](QWidget* w) {
             test::click(w, "WmfRadioButton");
             choose(w, "BMPCoordsComboBox", "0003");
             QTest::keyClicks(test::child<QLineEdit>(w, "BMPEdit1"), "pic.emf");
         },
         "IMG;1;WMF;0003;[\"pic.emf\"];1000;"},
        {"LNE",
         [](QWidget* w) {
             choose(w, "LNEComboBox1", "0001");
             choose(w, "LNEComboBox2", "0002");
             valueThroughFunction(w, "LNEEdit1", "0100");
             valueThroughFunction(w, "LNEEdit2", "0001+0002");
             colourThroughDialog(w, "LNEColorEdit", "Color0003");
             test::click(w, "LNECheckBox1");
         },
         "LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;"},
        {"ARC",
         [](QWidget* w) {
             for (const char* p : {"ARCComboBox1", "ARCComboBox2", "ARCComboBox3", "ARCComboBox4"})
                 choose(w, p, "0004");
             valueThroughFunction(w, "ARCEdit1", "0100");
             valueThroughFunction(w, "ARCEdit2", "0100");
             valueThroughFunction(w, "ARCEdit4", "0001-0002");
             colourThroughDialog(w, "ARCEdit3", "Color0016");
             choose(w, "ARCComboBox5", "C");
         },
         "ARC;1;0004;0004;0004;0004;[0100];[0100];[0001-0002];Color0016;C;A;A;"},
        {"CIR",
         [](QWidget* w) {
             choose(w, "CIRComboBox1", "0020");
             valueThroughFunction(w, "CIREdit1", "0100");
             choose(w, "CIRComboBox2", "F");
         },
         "CIR;1;0020;[0100];F;"},
        {"TXT",
         [](QWidget* w) {
             test::click(w, "TXTRadioButton2");
             choose(w, "TXTComboBox2", "0005");
             choose(w, "TXTComboBox3", "0006");
             choose(w, "TXTComboBox8", "C");
             valueThroughFunction(w, "TXTEdit4", "0100");
             valueThroughFunction(w, "TXTEdit5", "0100");
             test::click(w, "TXTRadioButton5");
             test::click(w, "TXTCheckBox1");
             colourThroughDialog(w, "TXTEdit1", "Color0001");
             choose(w, "TXTComboBox6", "T");
             QTest::keyClicks(test::child<QLineEdit>(w, "TXTEdit3"), "Main St.");
         },
         "TXT;1;R;[0005;0006];C;[0100];[0100];0;R;YNN;100;Color0001;T;[\"Main St.\"];"},
        {"NTH",
         [](QWidget* w) {
             choose(w, "NTHComboBox1", "0030");
             auto* s = test::child<QSpinBox>(w, "NTHSpinEdit1");
             s->selectAll();
             QTest::keyClicks(s, "40");
         },
         "NTH;1;0030;40;"},
        {"REC",
         [](QWidget* w) {
             choose(w, "RECComboBox1", "0001");
             choose(w, "RECComboBox2", "0009");
             colourThroughDialog(w, "RECColorEdit1", "Color0002");
             colourThroughDialog(w, "RECColorEdit2", "Color0004");
         },
         "REC;1;0001;0009;GV;Color0002;Color0004;"},
        {"LEG",
         [](QWidget* w) {
             choose(w, "LEGComboBox1", "0012");
             auto* v = test::child<QSpinBox>(w, "LEGSpinEdit1");
             v->selectAll();
             QTest::keyClicks(v, "1000");
             colourThroughDialog(w, "LEGColorEdit", "Color0013");
         },
         "LEG;1;0012;1000;Color0013;40;"},
    };
    for (const Case& c : cases) {
        doc.script.clear();
        form->views().OpnieuwTekenen();
        test::selectRow(op().scriptList(), -1);
        QString shown;
        test::onWindow("ScriptForm", [&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), "Scriptregel toevoegen");
            EXPECT_EQ(test::child<QLineEdit>(w, "ScriptRegelEdit")->text(), "");
            choose(w, "ScriptTypeComboBox", QString::fromLatin1(c.type));
            c.fill(w);
            shown = test::child<QLineEdit>(w, "ScriptRegelEdit")->text();
            test::click(w, "OKButton");
        });
        QTest::mouseClick(button("ScriptAddButton"), Qt::LeftButton);
        EXPECT_EQ(shown, QString::fromUtf8(c.expected)) << c.type;
        EXPECT_EQ(doc.script, QStringList({QString::fromUtf8(c.expected)})) << c.type;
    }
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 0) << messenger.texts().join('\n').toStdString();
}

TEST_F(Editing_ScriptFormTests, RequiredFieldsAndTheCircleSlice)
{
    // An empty type and a missing point are refused with Onvoldoende gegevens ingevuld.; a full circle needs no slice.
    doc.script = {"GRP;1;Frame;"};
    form->views().OpnieuwTekenen();
    test::selectRow(op().scriptList(), 0);
    QStringList previews;
    test::onWindow("ScriptForm", [&](QWidget* w) {
        test::click(w, "OKButton");
        EXPECT_TRUE(w->isVisible());
        choose(w, "ScriptTypeComboBox", "CIR");
        // The point lists hold the active coordinates only.
        EXPECT_EQ(test::child<QComboBox>(w, "CIRComboBox1")->count(), 30);
        valueThroughFunction(w, "CIREdit1", "0100");
        test::click(w, "OKButton");
        choose(w, "CIRComboBox1", "0020");
        choose(w, "CIRComboBox2", "S");
        EXPECT_TRUE(test::child<QWidget>(w, "CIRSlicePanel")->isVisible());
        test::click(w, "OKButton");
        choose(w, "CIRComboBox2", "F");
        EXPECT_FALSE(test::child<QWidget>(w, "CIRSlicePanel")->isVisible());
        previews << test::child<QLineEdit>(w, "ScriptRegelEdit")->text();
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("ScriptAddButton"), Qt::LeftButton);
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 3);
    EXPECT_EQ(messenger.texts().value(0), "Onvoldoende gegevens ingevuld.");
    EXPECT_EQ(doc.script, QStringList({"GRP;1;Frame;", "CIR;1;0020;[0100];F;"}));

    // A point that no active coordinate carries cannot be chosen and keeps OK refused.
    doc.script = {"NTH;1;0031;20;"};
    form->views().OpnieuwTekenen();
    test::selectRow(op().scriptList(), 0);
    messenger.clear();
    test::onWindow("ScriptForm", [](QWidget* w) {
        EXPECT_EQ(test::child<QComboBox>(w, "NTHComboBox1")->currentIndex(), -1);
        test::click(w, "OKButton");
        test::click(w, "AnnulerenButton");
    });
    QTest::mouseClick(button("ScriptEditButton"), Qt::LeftButton);
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_EQ(doc.script, QStringList({"NTH;1;0031;20;"}));
}

TEST_F(Editing_ScriptFormTests, NewerVersionsAndMalformedLinesAreNotOpened)
{
    // Version 2, an unknown code and a malformed version are refused without showing the dialog,
    // each with its own reason.
    int shown = 0;
    auto* spy = new QTimer(form.get());
    QObject::connect(spy, &QTimer::timeout, [&] {
        if (QWidget* w = form->findChild<QWidget*>("ScriptForm"); w && w->isVisible()) {
            ++shown;
            test::click(w, "AnnulerenButton");
        }
    });
    spy->start(5);
    for (const char* line : {"LNE;2;0001;0002;[0100];[0001];0;A;A;", "XYZ;1;a;", "NTH;x;0001;20;"}) {
        doc.script = {QString::fromLatin1(line)};
        form->views().OpnieuwTekenen();
        test::selectRow(op().scriptList(), 0);
        QTest::mouseClick(button("ScriptEditButton"), Qt::LeftButton);
        EXPECT_EQ(doc.script.value(0), QString::fromLatin1(line));
    }
    spy->stop();
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(messenger.count(RecordingMessenger::Entry::Error), 3);
    EXPECT_EQ(messenger.texts().value(0),
              "Scriptregel kan niet worden gewijzigd. Script is met een nieuwere versie van Korvimo aangemaakt.");
    // An unknown code is no sign of a newer version: the message names the code.
    EXPECT_EQ(messenger.texts().value(1), ctx.texts.format("AA00205", {"XYZ"}));
    EXPECT_TRUE(messenger.texts().value(1).contains("\"XYZ\"")) << messenger.texts().value(1).toStdString();
    EXPECT_EQ(messenger.texts().value(2), "'x' is not a valid integer value");

    // Also when switched off, and for a line too short to hold a code.
    messenger.clear();
    for (const char* line : {"#ABC;1;", "Q"}) {
        doc.script = {QString::fromLatin1(line)};
        form->views().OpnieuwTekenen();
        test::selectRow(op().scriptList(), 0);
        QTest::mouseClick(button("ScriptEditButton"), Qt::LeftButton);
    }
    EXPECT_EQ(messenger.texts(), (QStringList{ctx.texts.format("AA00205", {"ABC"}), ctx.texts.format("AA00205", {"Q"})}));
}

TEST_F(Editing_ScriptFormTests, InactiveBoxCurveAndKeptValues)
{
    // #LNE checks the inactive box and unchecking stores without #; a lower-case curve keeps the previous one.
    doc.script = {"#LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;"};
    form->views().OpnieuwTekenen();
    test::selectRow(op().scriptList(), 0);
    test::onWindow("ScriptForm", [](QWidget* w) {
        auto* box = test::child<QCheckBox>(w, "BlokkerenCheckBox");
        EXPECT_TRUE(box->isChecked());
        test::accelerator(w, Qt::Key_I);
        EXPECT_FALSE(box->isChecked());
        test::click(w, "OKButton");
    });
    QTest::keyClick(op().scriptList(), Qt::Key_Return);
    EXPECT_EQ(doc.script.value(0), "LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;");

    const QString upper = "ARC;1;0001;0002;0003;0004;[0100];[0101];[0005];255;B;N;A;";
    EXPECT_EQ(storeUnchanged(upper), upper);
    doc.script = {upper, "ARC;1;0001;0002;0003;0004;[0100];[0101];[0005];abc;b;N;A;"};
    form->views().OpnieuwTekenen();
    test::selectRow(op().scriptList(), 1);
    test::onWindow("ScriptForm", [](QWidget* w) {
        EXPECT_EQ(test::child<QComboBox>(w, "ARCComboBox5")->currentText(), "B");
        EXPECT_EQ(test::child<QLineEdit>(w, "ARCEdit3")->text(), "0"); // an unknown colour becomes black
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("ScriptEditButton"), Qt::LeftButton);
    EXPECT_EQ(doc.script.value(1), "ARC;1;0001;0002;0003;0004;[0100];[0101];[0005];0;B;N;A;");

    // Adding keeps the flags of the last use but empties points and values; WMF changes the browse filter.
    auto& f = editing->scriptForm();
    test::selectRow(op().scriptList(), -1);
    test::onWindow("ScriptForm", [&](QWidget* w) {
        choose(w, "ScriptTypeComboBox", "IMG");
        EXPECT_EQ(f.browseFilter(), "Bitmaps (*.bmp)|*.bmp");
        test::click(w, "WmfRadioButton");
        EXPECT_EQ(f.browseFilter(), "Metafiles (*.wmf; *.emf)|*.wmf;*.emf");
        choose(w, "ScriptTypeComboBox", "ARC");
        EXPECT_EQ(test::child<QComboBox>(w, "ARCComboBox5")->currentText(), "B");
        EXPECT_EQ(test::child<QLineEdit>(w, "ARCEdit1")->text(), "");
        EXPECT_EQ(test::child<QComboBox>(w, "ARCComboBox1")->currentIndex(), -1);
        test::click(w, "AnnulerenButton");
    });
    QTest::mouseClick(button("ScriptAddButton"), Qt::LeftButton);
    EXPECT_EQ(doc.script.size(), 2);
}

TEST_F(Editing_ScriptFormTests, FunctionDialogListsEveryLineAndChecksTheText)
{
    // The list shows all volume lines; text and inactive lines add nothing; a wrong function text stays open.
    doc.script = {"LNE;1;0001;0002;[0100];[0001];0;A;A;"};
    form->views().OpnieuwTekenen();
    test::selectRow(op().scriptList(), 0);
    QString edited;
    test::onWindow("ScriptForm", [&](QWidget* w) {
        test::onWindow("IntensiteitenSomForm", [&](QWidget* d) {
            auto* list = test::child<QListWidget>(d, "ListBox1");
            auto* edit = test::child<QLineEdit>(d, "Edit1");
            EXPECT_EQ(list->count(), 5);
            EXPECT_EQ(edit->text(), "0001"); // the field without its brackets
            test::click(d, "PlusButton");
            list->setCurrentRow(2); // *text
            test::click(d, "AddButton");
            list->setCurrentRow(3); // #0003
            test::click(d, "AddButton");
            test::click(d, "OKButton"); // 0001+ is refused
            EXPECT_TRUE(d->isVisible());
            list->setCurrentRow(1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
            EXPECT_EQ(edit->text(), "0001+0002");
            test::click(d, "MinButton");
            test::click(d, "BackButton");
            test::click(d, "OKButton");
        });
        test::click(w, "LNEEdit2Button");
        edited = test::child<QLineEdit>(w, "LNEEdit2")->text();
        // Emptying the function empties the field.
        test::onWindow("IntensiteitenSomForm", [](QWidget* d) {
            test::child<QLineEdit>(d, "Edit1")->clear();
            test::click(d, "OKButton");
        });
        test::click(w, "LNEEdit1Button");
        test::click(w, "OKButton"); // the offset is required
        test::click(w, "AnnulerenButton");
    });
    QTest::mouseClick(button("ScriptEditButton"), Qt::LeftButton);
    EXPECT_EQ(edited, "[0001+0002]");
    EXPECT_EQ(messenger.texts(), QStringList({"Onjuiste functie.", "Onvoldoende gegevens ingevuld."}));
}

TEST_F(Editing_ScriptFormTests, ColourChoiceFollowsTheColourText)
{
    // Color0007 selects its entry and disables Other color; abc selects Other color and becomes 0, black.
    TKleurForm& k = editing->kleurForm();
    doc.general.color[6] = 0x0000FF;
    k.setColourText("Color0007");
    k.ComboBoxGelijkZettenMetColorEdit();
    EXPECT_EQ(k.entryBox()->currentText(), "Color0007");
    EXPECT_FALSE(k.otherButton()->isEnabled());
    EXPECT_EQ(k.swatchColour(), 0x0000FF);
    k.setColourText("abc");
    k.ComboBoxGelijkZettenMetColorEdit();
    EXPECT_EQ(k.entryBox()->currentText(), "Other color");
    EXPECT_EQ(k.colourText(), "0");
    EXPECT_EQ(k.swatchColour(), 0);
    EXPECT_TRUE(k.otherButton()->isEnabled());

    // Other color through the system dialog; cancelling it keeps the swatch.
    k.chooseColour = [](int) { return std::optional<int>(12345); };
    test::onWindow("KleurForm", [](QWidget* d) {
        test::click(d, "OtherColorButton");
        test::click(d, "OKButton");
    });
    EXPECT_EQ(k.exec(), QDialog::Accepted);
    EXPECT_EQ(k.colourText(), "12345");
    k.chooseColour = [](int) { return std::optional<int>(); };
    test::onWindow("KleurForm", [](QWidget* d) {
        QTest::mouseClick(test::child<QWidget>(d, "KleurShape"), Qt::LeftButton);
        test::click(d, "AnnulerenButton");
    });
    EXPECT_EQ(k.exec(), QDialog::Rejected);
    EXPECT_EQ(k.swatchColour(), 12345);
}
