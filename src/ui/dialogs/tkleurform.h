#pragma once
// `TKleurForm` ("Kies kleur"): chooses the colour of a script field, either
// one of the diagram's sixteen colours by name ("Color0001" ...) or any
// other colour as a decimal Windows colour value.
#include <QDialog>
#include <functional>
#include <optional>

#include "ui/lists/dialogparts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvimo {

class DiagramDocument;

class TKleurForm final : public QDialog {
    Q_OBJECT
public:
    TKleurForm(DiagramDocument& doc, QWidget* parent = nullptr);

    // Callers put a colour text in, run ComboBoxGelijkZettenMetColorEdit,
    // show the dialog and after OK read colourText() and swatchColour().
    void setColourText(const QString& text);
    void ComboBoxGelijkZettenMetColorEdit();
    QString colourText() const;
    int swatchColour() const { return m_swatch; }

    // The system colour dialog; tests replace it. Empty when cancelled.
    std::function<std::optional<int>(int current)> chooseColour;

    QComboBox* entryBox() const { return m_entry; }
    QPushButton* otherButton() const { return m_other; }
    QLabel* swatch() const { return m_swatchLabel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void LNEComboBox3Change();
    void otherColour();
    void setSwatch(int colour);

    DiagramDocument& m_doc;
    QComboBox* m_entry;
    QLabel* m_swatchLabel;
    QLineEdit* m_text;
    QPushButton* m_other;
    DialogButtons m_buttons;
    int m_swatch = 0;
};

} // namespace korvimo
