// The program settings dialog: every control from and back to the
// settings, and what Cancel, the theme choice and the colour pages do.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "dialogs/dialogfixture.h"
#include "settings/settingsfile.h"
#include "ui/dialogs/tproginstelform.h"

using korvimo::TProgInstelForm;

namespace {

class Dialogs_SettingsTests : public test::DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        form = std::make_unique<TProgInstelForm>(ctx);
        form->afterOk = [this] { ++redraws; };
        form->chooseColor = [this](const QColor&) { return pickedColor; };
        form->chooseFont = [this](const QFont&) { return pickedFont; };
        form->darkModeAllowed = [this] { return darkAllowed; };
    }
    std::unique_ptr<TProgInstelForm> form;
    int redraws = 0;
    std::optional<QColor> pickedColor;
    std::optional<QFont> pickedFont;
    bool darkAllowed = true;
};

TEST_F(Dialogs_SettingsTests, RoundTripOfEveryControl)
{
    // OK after showing stores the same settings back (the file reads the same); changed controls land in their fields.
    ctx.settings.copyType = QStringLiteral("JPG");
    ctx.settings.printType = QStringLiteral("WMF");
    ctx.settings.printBmpColors = 0;
    ctx.settings.interfaceTheme = 3;
    ctx.settings.basicColors[4] = 0x123456;
    ctx.settings.csvSep = QStringLiteral(",;");
    ctx.settings.fontNameDefault = QStringLiteral("Courier New");
    ctx.settings.fontSizeDefault = 9;
    ctx.settings.placeNamesClear = false;
    ctx.settings.exportCachedGlyphs = false;
    ctx.settings.ringFollowsArms = false;
    const QStringList before = korvimo::settingsFileLines(ctx.settings);
    form->FormActivate();
    EXPECT_EQ(form->CopyTypeComboBox->currentText(), "JPG");
    EXPECT_EQ(form->PrintTypeComboBox->currentText(), "WMF");
    EXPECT_EQ(form->PrintColorsComboBox->currentText(), "Max.");
    EXPECT_TRUE(form->ThemeDarkRadioButton->isChecked());
    EXPECT_EQ(form->FontEdit->text(), "Courier New 9");
    EXPECT_TRUE(form->UprightCheckBox->isChecked());
    EXPECT_FALSE(form->NamesClearCheckBox->isChecked());
    EXPECT_FALSE(form->CachedGlyphsCheckBox->isChecked());
    EXPECT_FALSE(form->RingCheckBox->isChecked());
    form->BitBtn1Click();
    EXPECT_EQ(korvimo::settingsFileLines(ctx.settings), before);
    EXPECT_EQ(redraws, 1);

    form->FormActivate();
    form->CoordsIntervalSpinEdit->setValue(10);
    form->ZoomInOutSpinEdit->setValue(70);
    form->Win9xSpinEdit->setValue(-20);
    form->CSVSepEdit->setText(QStringLiteral("\t"));
    form->DrawMethodSpinEdit->setValue(2);
    form->AutoRedrawCheckBox->setChecked(false);
    form->Arc22CheckBox->setChecked(false);
    form->Arc22SpinEdit->setValue(-4);
    form->UprightCheckBox->setChecked(false);
    form->CachedGlyphsCheckBox->setChecked(true);
    form->RingCheckBox->setChecked(true);
    form->NamesClearCheckBox->setChecked(true);
    form->ThemeLightRadioButton->setChecked(true);
    form->MaxWidthSpinEdit->setValue(2000);
    form->MaxHeightSpinEdit->setValue(900);
    QFont times(QStringLiteral("Times New Roman"));
    times.setPointSize(14);
    pickedFont = times;
    form->FontButton->click();
    form->CopyTypeComboBox->setCurrentText(QStringLiteral("PNG"));
    form->CopyFactorSpinEdit->setValue(1500);
    form->CopyPixWidthSpinEdit->setValue(0);
    form->CopyAntiAliasedCheckBox->setChecked(false);
    form->PrintTypeComboBox->setCurrentText(QStringLiteral("BMP"));
    form->PrintBmpSizeSpinEdit->setValue(3000);
    form->PrintColorsComboBox->setCurrentIndex(1);
    pickedColor = QColor(0x11, 0x22, 0x33);
    form->colorSwatches[15]->click();
    form->DarkBgButton->click();
    form->BitBtn1->click();
    const korvimo::ProgramSettings& s = ctx.settings;
    EXPECT_EQ(s.coordsInterval, 10);
    EXPECT_EQ(s.zoomInOutValue, 70);
    EXPECT_EQ(s.arcCorrectionWin9x, -20);
    EXPECT_EQ(s.csvSep, "\t");
    EXPECT_EQ(s.drawMethodScreen, 2);
    EXPECT_FALSE(s.autoRedrawScale);
    EXPECT_FALSE(s.arc22ArcsAllowed);
    EXPECT_EQ(s.arc22ArcsValue, -4);
    EXPECT_FALSE(s.keepTextsUpright);
    EXPECT_TRUE(s.placeNamesClear);
    EXPECT_TRUE(s.exportCachedGlyphs);
    EXPECT_TRUE(s.ringFollowsArms);
    EXPECT_EQ(s.interfaceTheme, 2);
    EXPECT_EQ(s.maxDiagramWidth, 2000);
    EXPECT_EQ(s.maxDiagramHeight, 900);
    EXPECT_EQ(s.fontNameDefault, "Times New Roman");
    EXPECT_EQ(s.fontSizeDefault, 14);
    EXPECT_EQ(s.copyType, "PNG");
    EXPECT_EQ(s.copyFactor, 1500);
    EXPECT_EQ(s.copyPixWidth, 0);
    EXPECT_FALSE(s.copyPixAntiAliased);
    EXPECT_EQ(s.printType, "BMP");
    EXPECT_EQ(s.printBmpSize, 3000);
    EXPECT_EQ(s.printBmpColors, 1);
    EXPECT_EQ(s.basicColors[15], 0x332211); // 0x00BBGGRR
    EXPECT_EQ(s.drawingBgDarkColor, 0x332211);
    EXPECT_EQ(s.basicColors[4], 0x123456);
}

TEST_F(Dialogs_SettingsTests, CancelKeepsEverythingAndUnknownTextsShowTheLastItem)
{
    // Cancel stores nothing; a stored copy or print type outside the list shows the last item; the colour button only explains.
    ctx.settings.copyType = QStringLiteral("GIF");
    ctx.settings.printType = QStringLiteral("PDF");
    const QStringList before = korvimo::settingsFileLines(ctx.settings);
    form->FormActivate();
    EXPECT_EQ(form->CopyTypeComboBox->currentText(), "PNG");
    EXPECT_EQ(form->PrintTypeComboBox->currentText(), "BMP");
    form->ZoomInOutSpinEdit->setValue(5);
    pickedColor = QColor(Qt::red);
    form->colorSwatches[0]->click();
    EXPECT_EQ(form->swatchColor(0), QColor(Qt::red));
    form->BitBtn2->click();
    EXPECT_EQ(korvimo::settingsFileLines(ctx.settings), before);
    EXPECT_EQ(redraws, 0);

    form->KleurWijzigenButton->click();
    ASSERT_EQ(messenger.entries.size(), 1);
    EXPECT_EQ(messenger.entries[0].kind, korvimo::RecordingMessenger::Entry::Information);
    EXPECT_EQ(messenger.entries[0].text, "Klik op het gekleurde vakje om de kleur te wijzigen.");
}

TEST_F(Dialogs_SettingsTests, ThemeChoiceWithAndWithoutDarkMode)
{
    // 2 is light, 3 dark, anything else follows the system; without dark mode light is chosen and the other two are off.
    for (const auto& [stored, expected] : {std::pair{1, 1}, {2, 2}, {3, 3}, {7, 1}}) {
        ctx.settings.interfaceTheme = stored;
        form->FormActivate();
        EXPECT_EQ(form->interfaceThemeChoice(), expected) << stored;
        EXPECT_TRUE(form->ThemeDarkRadioButton->isEnabled());
    }
    darkAllowed = false;
    ctx.settings.interfaceTheme = 3;
    form->FormActivate();
    EXPECT_TRUE(form->ThemeLightRadioButton->isChecked());
    EXPECT_FALSE(form->ThemeDarkRadioButton->isEnabled());
    EXPECT_FALSE(form->ThemeSystemRadioButton->isEnabled());
    form->BitBtn1Click();
    EXPECT_EQ(ctx.settings.interfaceTheme, 2);
}

} // namespace

TEST_F(Dialogs_SettingsTests, AnalysisPageStoresComparisonAndClassChoices)
{
    // The colours, label options and class choice reach the settings, and the settings file keeps them.
    ctx.settings.compareIncreaseColor = 3;
    ctx.settings.volumeClasses = QStringLiteral("MVT");
    form->FormActivate();
    EXPECT_EQ(form->IncreaseColorSpinEdit->value(), 3);
    EXPECT_EQ(form->DecreaseColorSpinEdit->value(), 2);
    EXPECT_EQ(form->VolumeClassesEdit->text(), "MVT");
    form->DecreaseColorSpinEdit->setValue(9);
    form->ComparePercentCheckBox->setChecked(true);
    form->VolumeClassesEdit->setText(QStringLiteral(" MVT+VRA*2 "));
    form->VolumeShareClassEdit->setText(QStringLiteral("VRA"));
    form->BitBtn1Click();
    EXPECT_EQ(ctx.settings.compareDecreaseColor, 9);
    EXPECT_TRUE(ctx.settings.comparePercentages);
    EXPECT_FALSE(ctx.settings.compareZeroLabels);
    EXPECT_EQ(ctx.settings.volumeClasses, "MVT+VRA*2");
    const QStringList lines = korvimo::settingsFileLines(ctx.settings);
    EXPECT_TRUE(lines.contains("CompareDecreaseColor=9"));
    EXPECT_TRUE(lines.contains("VolumeClasses=MVT+VRA*2"));
    EXPECT_TRUE(lines.contains("VolumeShareClass=VRA"));
}
