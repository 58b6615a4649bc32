#pragma once
// `TAantekeningenForm` ("Aantekeningen"): the diagram's notes as plain
// text, and whether this window opens by itself with the file. Closing it
// stores; an edit of the text or of the check box makes the diagram
// modified.
#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace korvimo {

class DiagramDocument;

class TAantekeningenForm final : public QDialog {
    Q_OBJECT
public:
    explicit TAantekeningenForm(DiagramDocument& doc, QWidget* parent = nullptr);

    // After the window closed: true when it changed the notes or the check box
    // since it was last closed (the change mark is cleared).
    bool takeChange();

    QPlainTextEdit* editor() const { return m_editor; }
    QCheckBox* showBox() const { return m_show; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    DiagramDocument& m_doc;
    QPlainTextEdit* m_editor;
    QCheckBox* m_show;
    QPushButton* m_close;
    bool m_loading = false;
    bool m_changed = false;
};

} // namespace korvimo
