#pragma once
// `TCoordForm`: adds or changes one line of the coordinate list. Its pick
// button closes it with `kPickResult` so that the caller can let the user
// click the position on the compose picture and open it again.
#include "ui/lists/numberedlineform.h"

class QToolButton;

namespace korvimo {

class TCoordForm final : public NumberedLineForm {
    Q_OBJECT
public:
    static constexpr int kPickResult = 2;

    explicit TCoordForm(ProgramContext& ctx, QWidget* parent = nullptr);

    void fillFromLine(const QString& line) override;
    // The position the pick delivered.
    void setPosition(int x, int y);

    QSpinBox* xEdit() const { return m_x; }
    QSpinBox* yEdit() const { return m_y; }
    QToolButton* selectButton() const { return m_select; }

protected:
    QStringList valueFields() const override;
    void applyEnabling() override;

private:
    QSpinBox* m_x;
    QSpinBox* m_y;
    QToolButton* m_select;
};

} // namespace korvimo
