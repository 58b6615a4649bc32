#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "i18n/windowtranslation.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

LanguageFile english()
{
    return *LanguageFile::load(test::dataPath(QStringLiteral("i18n/English.lng")));
}

ControlTexts control(const char* name, std::optional<QString> caption, std::optional<QString> hint = {})
{
    ControlTexts c;
    c.name = QLatin1String(name);
    c.caption = std::move(caption);
    c.hint = std::move(hint);
    return c;
}

WindowTexts armenForm()
{
    WindowTexts w;
    w.name = QStringLiteral("ArmenForm");
    w.caption = QStringLiteral("Armen");
    w.controls << control("BitBtn1", QStringLiteral("&OK"), QStringLiteral("Toepassen"))
               << control("BitBtn2", QStringLiteral("&Annuleren"))
               << control("ntLangButton", QStringLiteral("Language"));
    ControlTexts memo;
    memo.name = QStringLiteral("Memo1");
    memo.lines = QStringList{"Regel 1", "Regel 2", "Regel 3"};
    ControlTexts combo;
    combo.name = QStringLiteral("ComboBox1");
    combo.items = QStringList{"Links", "Rechts"};
    w.controls << memo << combo;
    return w;
}

} // namespace

TEST(I18n_WindowTranslationTests, AppliesTheFileRules)
{
    // Captions and items change only for non-empty texts, memo lines whenever
    // their key is there, nothing is added, and nt-prefixed controls stay.
    WindowTexts w = armenForm();
    translateWindow(english(), w);
    EXPECT_EQ(w.caption, QStringLiteral("Arms wizard"));
    EXPECT_EQ(w.controls[0].caption, QStringLiteral("&OK")); // "" leaves it
    EXPECT_EQ(w.controls[0].hint, QStringLiteral("Apply the arms"));
    EXPECT_EQ(w.controls[1].caption, QStringLiteral("&Cancel"));
    EXPECT_FALSE(w.controls[1].hint.has_value()); // a control without a hint gets none
    EXPECT_EQ(w.controls[2].caption, QStringLiteral("Language"));
    EXPECT_EQ(*w.controls[3].lines, (QStringList{"First line", "", "Regel 3"}));
    EXPECT_EQ(*w.controls[4].items, (QStringList{"Left", "Rechts"}));
}

TEST(I18n_WindowTranslationTests, LookupsIgnoreCaseAndOtherSections)
{
    // A window's keys are found in its own section only, in any letter case.
    const LanguageFile f = english();
    const WindowTranslation main(f, QStringLiteral("HoofdForm"));
    EXPECT_EQ(main.windowCaption(), QString::fromUtf8("Main window é€"));
    EXPECT_FALSE(main.caption(QStringLiteral("BitBtn2")).has_value());
    const WindowTranslation arms(f, QStringLiteral("armenform"));
    EXPECT_EQ(arms.caption(QStringLiteral("bitbtn2")), QStringLiteral("&Cancel"));
    EXPECT_EQ(arms.line(QStringLiteral("Memo1"), 1), QString());
    EXPECT_FALSE(arms.line(QStringLiteral("Memo1"), 2).has_value());
    WindowTexts none;
    none.name = QStringLiteral("KleurForm");
    none.caption = QStringLiteral("Kleur");
    translateWindow(f, none);
    EXPECT_EQ(none.caption, QStringLiteral("Kleur"));
    EXPECT_EQ(translatedWindows().size(), 18);
    EXPECT_TRUE(isUntranslatedComponent(QStringLiteral("NTOpInternet1")));
}

TEST(I18n_WindowTranslationTests, TemplateListsWhatATranslatorNeeds)
{
    // Captions equal to the name, "-" and empty ones are left out, memo lines
    // stop at the control's own name, line breaks never split an entry.
    WindowTexts w;
    w.name = QStringLiteral("ScriptForm");
    w.caption = QStringLiteral("ScriptForm");
    ControlTexts memo;
    memo.name = QStringLiteral("Memo1");
    memo.lines = QStringList{"Uitleg", "Memo1", "na de naam"};
    w.controls << control("Label1", QStringLiteral("Label1")) << control("N1", QStringLiteral("-"))
               << control("Label2", QString(), QString()) << control("ntX", QStringLiteral("skip"))
               << control("Label3", QStringLiteral("Twee\r\nregels"), QStringLiteral("Tip")) << memo;
    WindowTexts second;
    second.name = QStringLiteral("KleurForm");
    second.caption = QStringLiteral("Kleur");
    EXPECT_EQ(translationTemplateText({w, second}),
              QStringLiteral("[ScriptForm]\r\n"
                             "ScriptForm.Label3.Caption=\"Twee regels\"\r\n"
                             "ScriptForm.Label3.Hint=\"Tip\"\r\n"
                             "ScriptForm.Memo1.Lines[0]=\"Uitleg\"\r\n"
                             "\r\n"
                             "[KleurForm]\r\n"
                             "KleurForm.Caption=\"Kleur\"\r\n"));
}

TEST(I18n_WindowTranslationTests, TemplateReadsBackAsAnIdentityTranslation)
{
    // Writing the template and translating with it changes no text.
    QTemporaryDir dir;
    const WindowTexts original = armenForm();
    ASSERT_TRUE(writeTranslationTemplate({original}, dir.path()));
    const auto file = LanguageFile::load(dir.filePath(QStringLiteral("All.lng")));
    ASSERT_TRUE(file.has_value());
    EXPECT_FALSE(file->value(QStringLiteral("ArmenForm"), QStringLiteral("ArmenForm.ntLangButton.Caption")));
    WindowTexts again = original;
    again.caption = QStringLiteral("x");
    again.controls[0].caption = QStringLiteral("y");
    (*again.controls[3].lines)[2] = QStringLiteral("z");
    translateWindow(*file, again);
    EXPECT_EQ(again.caption, original.caption);
    EXPECT_EQ(again.controls[0].caption, original.controls[0].caption);
    EXPECT_EQ(again.controls[3].lines, original.controls[3].lines);
    EXPECT_EQ(again.controls[4].items, original.controls[4].items);
}
