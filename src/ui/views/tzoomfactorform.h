#pragma once
// "Zoom/verschuif exact": the overview zoom and offsets typed in as numbers.
#include <QDialog>
#include <functional>

class QSpinBox;
class QPushButton;

namespace korvimo {

class TZoomFactorForm final : public QDialog {
    Q_OBJECT
public:
    explicit TZoomFactorForm(QWidget* parent = nullptr);

    // Fills the three fields; after exec() == Accepted read them back.
    void setValues(int zoom, int offsetX, int offsetY);
    int zoom() const;
    int offsetX() const;
    int offsetY() const;

    // Help context 320. Without a help viewer the help button is disabled.
    void setHelpHandler(std::function<void(int context)> handler);

    QSpinBox* zoomEdit() const { return m_zoom; }
    QSpinBox* xEdit() const { return m_x; }
    QSpinBox* yEdit() const { return m_y; }

private:
    QSpinBox* m_zoom;
    QSpinBox* m_x;
    QSpinBox* m_y;
    QPushButton* m_help;
    std::function<void(int)> m_helpHandler;
};

} // namespace korvimo
