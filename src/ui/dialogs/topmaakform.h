#pragma once
// `TOpmaakForm` ("Opmaak"): the diagram-wide layout settings on four tabs:
// flows and diagram size, the font, the drawing groups, the colours. Every
// field is loaded from the document when the dialog is shown; OK stores
// them all and counts as an edit only when a field was changed.
#include <QDialog>
#include <QFont>
#include <array>
#include <functional>
#include <optional>

#include "document/generalvariables.h"
#include "ui/lists/dialogparts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class TOpmaakForm final : public QDialog {
    Q_OBJECT
public:
    TOpmaakForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent = nullptr);

    // Loads every field; clears the change flag.
    void load();
    // Stores every field into the document; true when a field was changed.
    bool store();
    bool changed() const { return m_changed; }

    // The system dialogs; tests replace them. Empty when cancelled.
    std::function<std::optional<QFont>(const QFont& current)> chooseFont;
    std::function<std::optional<int>(int current)> chooseColour;

    QSpinBox* widthEdit() const { return m_width; }
    QSpinBox* heightEdit() const { return m_height; }
    QTabWidget* tabs() const { return m_tabs; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* generalTab();
    QWidget* textsTab();
    QWidget* groupsTab();
    QWidget* coloursTab();
    void setFontField(const QFont& font);
    void setSwatch(int index, int colour);
    void markFieldChanged();

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    QTabWidget* m_tabs;
    QSpinBox* m_scale;
    QSpinBox* m_lineWidth;
    QSpinBox* m_arrow;
    QSpinBox* m_intMin;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QSpinBox* m_north;
    QLineEdit* m_font;
    QFont m_fontValue;
    QSpinBox* m_intMinNumber;
    std::array<QCheckBox*, kDrawingGroupCount> m_groups{};
    std::array<QLabel*, 16> m_swatches{};
    std::array<int, 16> m_colours{};
    QCheckBox* m_sfill;
    QCheckBox* m_sblackline;
    QCheckBox* m_sblack;
    DialogButtons m_buttons;
    bool m_changed = false;
    bool m_loading = false;
};

} // namespace korvimo
