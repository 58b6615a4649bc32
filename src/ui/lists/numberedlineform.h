#pragma once
// What the coordinate editor and the volume editor share: the choice between
// a numbered line and a text line, the number, the inactive box, the text
// field, the add/change mode, the duplicate check and where the line goes.
// Each editor adds its own value fields.
#include <QDialog>
#include <QStringList>

#include "ui/lists/dialogparts.h"
#include "ui/lists/listlines.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

namespace korvimo {

struct ProgramContext;

class NumberedLineForm : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add = 1, Change = 2 };

    // Before showing: the mode, the list the line goes into and the row
    // selected in it (-1 none). The editor keeps its fields between uses;
    // only fillFromLine (change mode) sets them.
    void prepare(Mode mode, QStringList* lines, int selectedRow);
    Mode mode() const { return m_mode; }
    // Fills the fields from a line; throws ConversionError for a number
    // that is not a whole number.
    virtual void fillFromLine(const QString& line) = 0;
    // The line the fields describe now.
    QString builtLine() const;

    QRadioButton* numberedRadio() const { return m_numbered; }
    QRadioButton* textRadio() const { return m_text; }
    QSpinBox* numberEdit() const { return m_number; }
    QLabel* numberLabel() const { return m_numberLabel; }
    QCheckBox* inactiveBox() const { return m_inactive; }
    QLineEdit* textEdit() const { return m_textEdit; }
    const DialogButtons& buttons() const { return m_buttons; }

protected:
    NumberedLineForm(ProgramContext& ctx, const char* objectName, const QString& caption,
                     const QString& numberedCaption, const char* numberName, const char* groupName,
                     const QString& groupTitle, int helpContext, QWidget* parent);
    // Called once from the subclass's constructor, after it added its fields.
    void finishLayout();
    QGridLayout* fieldGrid() const { return m_grid; }
    QGroupBox* numberedGroup() const { return m_group; }
    void fillCommon(const NumberedLine& l);
    virtual QStringList valueFields() const = 0;
    // The radio enabling (on every radio change and on activation).
    virtual void applyEnabling();
    void showEvent(QShowEvent* event) override;

    ProgramContext& m_ctx;

private:
    void okClicked();

    Mode m_mode = Add;
    QStringList* m_lines = nullptr;
    int m_selected = -1;
    QRadioButton* m_numbered;
    QRadioButton* m_text;
    QGroupBox* m_group;
    QGridLayout* m_grid;
    QLabel* m_numberLabel;
    QSpinBox* m_number;
    QCheckBox* m_inactive;
    QGroupBox* m_textGroup;
    QLineEdit* m_textEdit;
    QVBoxLayout* m_layout;
    DialogButtons m_buttons;
    int m_helpContext;
};

} // namespace korvimo
