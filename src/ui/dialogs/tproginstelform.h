#pragma once
// `TProgInstelForm` ("Programma-instellingen"): the program settings that
// the user edits directly, on four pages. The dialog reads the settings
// into its controls each time it shows and writes them back on OK only;
// it never writes the settings file (that happens at exit).
#include <QColor>
#include <QDialog>
#include <QFont>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace korvimo {

struct ProgramContext;

class TProgInstelForm final : public QDialog {
    Q_OBJECT
public:
    enum Page { ProgrammaPage = 0, OpmaakPage = 1, UitvoerPage = 2, KleurenPage = 3 };

    explicit TProgInstelForm(ProgramContext& ctx, QWidget* parent = nullptr);

    // Choosers the main window and tests replace; the defaults are the
    // system dialogs. The sixteen base colours go through chooseBaseColor,
    // which the main window points at the program's own colour choice and
    // which otherwise falls back on chooseColor.
    std::function<std::optional<QColor>(const QColor& current)> chooseColor;
    std::function<std::optional<QColor>(const QColor& current)> chooseBaseColor;
    std::function<std::optional<QFont>(const QFont& current)> chooseFont;
    // After OK has stored the controls: the redraw.
    std::function<void()> afterOk;
    // Whether the dark interface can be used at all.
    std::function<bool()> darkModeAllowed;

    // Shows the dialog on a page (the print dialog opens it on "Uitvoer").
    int execOnPage(Page page);

    void FormActivate();
    void BitBtn1Click();

    int interfaceThemeChoice() const;
    QColor swatchColor(int index) const;    // 0 ... 15
    QColor darkBackgroundColor() const;

    QTabWidget* PageControl1 = nullptr;
    // "Programma"
    QSpinBox* CoordsIntervalSpinEdit = nullptr;
    QSpinBox* ZoomInOutSpinEdit = nullptr;
    QSpinBox* Win9xSpinEdit = nullptr;
    QLineEdit* CSVSepEdit = nullptr;
    QSpinBox* DrawMethodSpinEdit = nullptr;
    QCheckBox* AutoRedrawCheckBox = nullptr;
    QCheckBox* UprightCheckBox = nullptr;    // KeepTextsUpright
    QCheckBox* NamesClearCheckBox = nullptr; // PlaceNamesClear
    QCheckBox* CachedGlyphsCheckBox = nullptr; // ExportCachedGlyphs
    QCheckBox* RingCheckBox = nullptr;         // RingFollowsArms
    QCheckBox* Arc22CheckBox = nullptr;
    QSpinBox* Arc22SpinEdit = nullptr;
    QRadioButton* ThemeSystemRadioButton = nullptr;
    QRadioButton* ThemeLightRadioButton = nullptr;
    QRadioButton* ThemeDarkRadioButton = nullptr;
    QToolButton* DarkBgShape = nullptr;
    QToolButton* DarkBgButton = nullptr;
    // "Analyse"
    QSpinBox* IncreaseColorSpinEdit = nullptr;
    QSpinBox* DecreaseColorSpinEdit = nullptr;
    QCheckBox* ComparePercentCheckBox = nullptr;
    QCheckBox* CompareZeroCheckBox = nullptr;
    QLineEdit* VolumeClassesEdit = nullptr;
    QLineEdit* VolumeShareClassEdit = nullptr;
    // "Opmaak"
    QSpinBox* MaxWidthSpinEdit = nullptr;
    QSpinBox* MaxHeightSpinEdit = nullptr;
    QLineEdit* FontEdit = nullptr;
    QToolButton* FontButton = nullptr;
    // "Uitvoer"
    QComboBox* CopyTypeComboBox = nullptr;
    QSpinBox* CopyFactorSpinEdit = nullptr;
    QSpinBox* CopyPixWidthSpinEdit = nullptr;
    QCheckBox* CopyAntiAliasedCheckBox = nullptr;
    QComboBox* PrintTypeComboBox = nullptr;
    QSpinBox* PrintBmpSizeSpinEdit = nullptr;
    QComboBox* PrintColorsComboBox = nullptr;
    // "Kleuren"
    std::array<QToolButton*, 16> colorSwatches{}; // Color0001Shape ...
    QPushButton* KleurWijzigenButton = nullptr;

    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QToolButton* HelpButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setSwatch(QToolButton* swatch, const QColor& color);
    void setFontShown(const QFont& font);

    ProgramContext& m_ctx;
    std::array<QColor, 16> m_colors;
    QColor m_darkBg;
    QFont m_font;
};

} // namespace korvimo
