#pragma once
// `TIntForm`: adds or changes one line of the list of volumes and values.
#include "ui/lists/numberedlineform.h"

namespace korvimo {

class TIntForm final : public NumberedLineForm {
    Q_OBJECT
public:
    explicit TIntForm(ProgramContext& ctx, QWidget* parent = nullptr);

    void fillFromLine(const QString& line) override;

    QSpinBox* valueEdit() const { return m_value; }
    QRadioButton* volumeRadio() const { return m_volume; }
    QRadioButton* otherValueRadio() const { return m_other; }

protected:
    QStringList valueFields() const override;

private:
    QSpinBox* m_value;
    QRadioButton* m_volume;
    QRadioButton* m_other;
};

} // namespace korvimo
