#pragma once
// `TAlleIntensiteitenWijzigenForm` ("Alle intensiteiten wijzigen"): raises,
// lowers or scales every traffic volume at once (the change itself is
// AlleIntensiteitenWijzigen in the document layer).
//
// The value is typed as a number with an optional decimal sign ("." or ","):
// "vermenigvuldigen" is in thousandths ("/ 1000"), and the factor that the
// typed value stands for is shown beside it while typing. OK accepts only a
// number, and for "verhogen" only a whole one; anything else is reported and
// the dialog stays open.
#include <QDialog>

#include "document/intensitychange.h"
#include "ui/lists/dialogparts.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace korvimo {

struct ProgramContext;

class TAlleIntensiteitenWijzigenForm final : public QDialog {
    Q_OBJECT
public:
    explicit TAlleIntensiteitenWijzigenForm(ProgramContext& ctx, QWidget* parent = nullptr);

    ChangeAllMode mode() const;
    // The accepted value (valid after OK).
    TypedDecimal value() const { return m_accepted; }

    QRadioButton* increaseRadio() const { return m_increase; }
    QRadioButton* multiplyRadio() const { return m_multiply; }
    QLineEdit* valueEdit() const { return m_value; }
    QLabel* unitLabel() const { return m_unit; }
    QLabel* factorLabel() const { return m_factor; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKButtonClick();
    void updateUnit();

    ProgramContext& m_ctx;
    QRadioButton* m_increase;
    QRadioButton* m_multiply;
    QLineEdit* m_value;
    QLabel* m_unit;
    QLabel* m_factor;
    DialogButtons m_buttons;
    TypedDecimal m_accepted;
};

} // namespace korvimo
