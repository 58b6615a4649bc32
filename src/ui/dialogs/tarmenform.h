#pragma once
// `TArmenForm` ("Armen"): the arms wizard's window. It shows the stored arm
// definitions of the open diagram and, on OK, places the arm points from
// the centre, the two distances and one angle per arm. Load and apply are
// the form-free steps of arms/armswizard.h; the window only maps its
// controls to and from them, so every showing starts from the diagram.
#include <QDialog>
#include <array>
#include <functional>

#include "arms/armswizard.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class TArmenForm final : public QDialog {
    Q_OBJECT
public:
    TArmenForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent = nullptr);

    // After a successful apply: the main window's menu state and redraw.
    std::function<void()> afterApply;
    // The main window's "&Coördinaten tonen" toggle.
    std::function<void()> toggleCoordinates;

    // Load: the controls from the diagram.
    void FormActivate();
    // Apply: stores the inputs and places the arm points; closes with OK.
    // A centre whose x or y is not an integer is reported with the
    // conversion error's text and the dialog stays open.
    void BitBtn1Click();

    // The controls as the wizard's input, and back.
    ArmsWizardInput input() const;
    void setInput(const ArmsWizardInput& input);

    QComboBox* CentrumComboBox = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    std::array<QComboBox*, kArmCount> armPoint1{};  // Arm01ComboBox1 ...
    std::array<QComboBox*, kArmCount> armPoint2{};  // Arm01ComboBox2 ...
    std::array<QSpinBox*, kArmCount> armAngle{};    // Arm01SpinEdit1 ...
    QScrollArea* ScrollBox1 = nullptr;
    QToolButton* ShowCoordsButton = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QToolButton* HelpButton = nullptr;

    // The height of one arm row, the unit a wheel notch scrolls by two of.
    int rowHeight() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Wide enough for the texts as they are now: the Dutch ones when built,
    // a language file's when shown.
    void fitWidthToTexts();

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    QGroupBox* m_basis = nullptr;
    QGroupBox* m_arms = nullptr;
    QWidget* m_rows = nullptr;
};

} // namespace korvimo
