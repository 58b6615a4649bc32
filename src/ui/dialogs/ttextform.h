#pragma once
// `TTextForm` ("Teksten"): the titles and street names of the diagram. Only
// the fields whose variable a text line of the script uses are shown.
#include <QDialog>
#include <array>

#include "ui/lists/dialogparts.h"

class QLabel;
class QLineEdit;
class QScrollArea;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class TTextForm final : public QDialog {
    Q_OBJECT
public:
    TTextForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent = nullptr);

    // Shows the fields in use and loads all 21; clears the change flag.
    void load();
    // Stores all 21 fields; true when any was edited.
    bool store();
    // Hides every title and street-name field again.
    void hideFields();

    QLineEdit* titleEdit(int i) const { return m_edits[i]; }         // 0..4
    QLineEdit* streetEdit(int i) const { return m_edits[5 + i]; }    // 0..15
    QLineEdit* userEdit() const { return m_user; }
    QLineEdit* fileEdit() const { return m_file; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    QScrollArea* m_scroll;
    QLineEdit* m_user;
    QLineEdit* m_file;
    std::array<QLineEdit*, 21> m_edits{};
    std::array<QLabel*, 21> m_labels{};
    DialogButtons m_buttons;
    bool m_changed = false;
};

} // namespace korvimo
