#pragma once
// `TAlleIntensiteitenWijzigenForm` ("Alle intensiteiten wijzigen"): raises,
// lowers or scales every traffic volume at once (the change itself is
// AlleIntensiteitenWijzigen in the document layer).
#include <QDialog>

#include "document/intensitychange.h"
#include "ui/lists/dialogparts.h"

class QLabel;
class QRadioButton;
class QSpinBox;

namespace korvimo {

class TAlleIntensiteitenWijzigenForm final : public QDialog {
    Q_OBJECT
public:
    explicit TAlleIntensiteitenWijzigenForm(QWidget* parent = nullptr);

    ChangeAllMode mode() const;
    int value() const;

    QRadioButton* increaseRadio() const { return m_increase; }
    QRadioButton* multiplyRadio() const { return m_multiply; }
    QSpinBox* valueEdit() const { return m_value; }
    QLabel* unitLabel() const { return m_unit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QRadioButton* m_increase;
    QRadioButton* m_multiply;
    QSpinBox* m_value;
    QLabel* m_unit;
    DialogButtons m_buttons;
};

} // namespace korvimo
