#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "i18n/languagetexts.h"
#include "uikit/messageboxes.h"

using namespace korvimo;
using namespace korvimo::uikit;

namespace {

// Runs `act` on the message box once it is up, from inside its own loop.
void whenBoxShows(std::function<void(QMessageBox*)> act)
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

QAbstractButton* named(QMessageBox* box, const char* name)
{
    return box->findChild<QAbstractButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(Uikit_MessageBoxTests, ThreeButtonBoxAnswersSixSevenTwo)
{
    // Each button of the question gives its own number; Escape counts as cancel.
    const struct {
        const char* button;
        int expected;
    } cases[] = {{"YesButton", 6}, {"NoButton", 7}, {"CancelButton", 2}};
    for (const auto& c : cases) {
        whenBoxShows([&](QMessageBox* box) { named(box, c.button)->click(); });
        EXPECT_EQ(MesYesNoCancel(nullptr, "Korvimo", "Bestand opslaan?", 0, "&Annuleren", "&Niet opslaan",
                                 "&Opslaan", "Bestand \"x\" is gewijzigd."),
                  c.expected)
            << c.button;
    }
    whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(MesYesNoCancel(nullptr, "Korvimo", "", 0, "", "", "", "vraag"), kResultCancel);
}

TEST(Uikit_MessageBoxTests, DefaultButtonFollowsArgumentAndEnterPressesIt)
{
    // Default 1 makes "no" the button that Enter presses; 0 makes it "yes".
    whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(MesYesNoCancel(nullptr, "Korvimo", "Bestand overschrijven?", 1, "&Annuleren", "&Niet overschrijven",
                             "&Overschrijven", "Bestand bestaat al."),
              kResultNo);
    whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(MesYesNoCancel(nullptr, "Korvimo", "", 0, "", "", "", "vraag"), kResultYes);
}

TEST(Uikit_MessageBoxTests, OkBoxesAnswerOneAndCarryTheirTexts)
{
    // Error, information and warning boxes answer 1, with Enter and with Escape.
    for (auto fn : {&MesError, &MesInfo, &MesWarning}) {
        whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(fn(nullptr, "Korvimo", "", "&OK", "tekst"), kResultOk);
    }
    auto box = makeOkBox(nullptr, QMessageBox::Warning, "Korvimo", "Kop", "", "De melding");
    EXPECT_EQ(box->windowTitle(), "Korvimo");
    EXPECT_EQ(box->text(), "Kop");
    EXPECT_EQ(box->informativeText(), "De melding");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->defaultButton()->text(), "&OK"); // empty text falls back
}

TEST(Uikit_MessageBoxTests, EmptyButtonTextsFallBack)
{
    // Without texts the question shows "&Yes", "&No" and "&Cancel".
    auto box = makeYesNoCancelBox(nullptr, "Korvimo", "", 0, "", "", "", "vraag");
    EXPECT_EQ(named(box.get(), "YesButton")->text(), "&Yes");
    EXPECT_EQ(named(box.get(), "NoButton")->text(), "&No");
    EXPECT_EQ(named(box.get(), "CancelButton")->text(), "&Cancel");
    EXPECT_EQ(box->text(), "vraag");
    EXPECT_EQ(boxResult(*box), kResultCancel); // never answered
}

TEST(Uikit_MessageBoxTests, MessengerAsksWithTheGivenCaptions)
{
    // The Messenger question shows the caller's button texts and returns the answer.
    LanguageTexts texts;
    UiKitMessenger messenger(texts);
    whenBoxShows([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Korvimo");
        EXPECT_EQ(named(box, "NoButton")->text(), "&Niet opslaan");
        EXPECT_EQ(box->defaultButton(), named(box, "YesButton"));
        named(box, "NoButton")->click();
    });
    EXPECT_EQ(messenger.question("Bestand opslaan?", "gewijzigd", "&Opslaan", "&Niet opslaan", "&Annuleren"),
              Messenger::No);
}
