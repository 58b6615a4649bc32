#pragma once
// `TScriptForm`: edits one line of the drawing script through a form. The
// user picks the element type; the dialog shows that type's panel, offers
// the coordinate names for every point field, lets value fields change only
// through the volume-function dialog and colour fields only through the
// colour dialog, and shows the line it will store, rebuilt after every
// change. The dialog keeps its field values between uses; starting an add
// empties only the point lists, value fields, file name and texts.
#include <QDialog>
#include <QHash>
#include <QStringList>
#include <functional>

#include "ui/lists/dialogparts.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace korvimo {

class DiagramDocument;
class TIntensiteitenSomForm;
class TKleurForm;
struct ProgramContext;

class TScriptForm final : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add = 1, Change = 2 };
    static constexpr int kHighestVersion = 1;

    TScriptForm(ProgramContext& ctx, DiagramDocument& doc, TIntensiteitenSomForm& functions, TKleurForm& colours,
                QWidget* parent = nullptr);

    // Before showing: the mode and the script row selected (-1 none).
    void prepare(Mode mode, int selectedRow);
    int ScriptToevoegenOfWijzigen() const { return m_mode; }

    // Opening for adding: the empty type, every panel hidden.
    void startAdd();
    // Fills the form from a line (change mode). False when the line's
    // version is newer than the form knows, or its code is none the form
    // edits: the line must not be opened. Throws ConversionError for a
    // version or whole-number field that is not a whole number.
    bool fillFromLine(const QString& line);
    // The element code of line when it is none the dialog edits (a comment
    // line has none); a null string when the dialog knows it. Lets the
    // caller say that the code is unknown rather than that the script is of
    // a newer version.
    QString unknownElementCode(const QString& line) const;

    void SubPanelsOnzichtbaarMaken();
    void ScriptRegelUpdaten();
    QString preview() const;
    // The fields the chosen type needs are all filled.
    bool requiredFieldsFilled() const;
    // The browse filter in the described form ("Bitmaps (*.bmp)|*.bmp").
    QString browseFilter() const;

    // The picture dialog; tests replace it. Empty when cancelled. The
    // filter is in Qt's form.
    std::function<QString(const QString& filter)> pictureFileName;

    // A control by its objectName (tests and screenshots reach the fields
    // through it as the help pages name them).
    QWidget* field(const QString& name) const { return m_fields.value(name); }
    QComboBox* typeBox() const { return m_type; }
    QGroupBox* elementGroup() const { return m_group; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct ColourField {
        QLineEdit* edit;
        QLabel* swatch;
    };

    // Builders: each registers the control under its name.
    template <class W>
    W* reg(W* w, const char* name);
    QComboBox* pointBox(const char* name, QWidget* parent);
    // A coordinate box with its caption in the grid's row, as valueField
    // and colourField lay out theirs.
    QComboBox* pointField(const char* name, const char* labelName, const QString& caption, QWidget* parent,
                          QGridLayout* grid, int row, int column);
    QLineEdit* valueField(const char* name, QWidget* parent, QGridLayout* grid, int row, int column,
                          const QString& caption);
    QLineEdit* colourField(const char* name, QWidget* parent, QGridLayout* grid, int row, int column,
                           const QString& caption);
    QComboBox* fixedBox(const char* name, const QStringList& entries, QWidget* parent);
    QWidget* buildText();
    QWidget* buildGrp();
    QWidget* buildImg();
    QWidget* buildLne();
    QWidget* buildArc();
    QWidget* buildCir();
    QWidget* buildTxt();
    QWidget* buildNth();
    QWidget* buildRec();
    QWidget* buildLeg();

    void ScriptTypeComboBoxChange();
    void CoordsComboBoxenVullen();
    void updateSubPanels();
    void valueButton(QLineEdit* edit);
    void colourButton(const QString& name);
    void setColour(const QString& name, const QString& text);
    void browsePicture();
    void okClicked();

    QString code() const;
    QString text(const char* name) const;   // a line edit's text
    QString point(const char* name) const;  // a point choice's entry
    QString fixed(const char* name) const;  // a fixed drop-down's entry
    bool checked(const char* name) const;
    int number(const char* name) const;
    void selectEntry(const char* name, const QString& entry, bool keepWhenMissing);

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    TIntensiteitenSomForm& m_functions;
    TKleurForm& m_colours;
    Mode m_mode = Add;
    int m_selected = -1;
    bool m_building = false;
    QHash<QString, QWidget*> m_fields;
    QHash<QString, ColourField> m_colourFields;
    QList<QComboBox*> m_pointBoxes;
    QList<QLineEdit*> m_valueFields;
    QComboBox* m_type;
    QCheckBox* m_inactive;
    QGroupBox* m_group;
    QStackedWidget* m_pages;
    QLineEdit* m_preview;
    QGroupBox* m_txtContent = nullptr;
    QWidget* m_cirSlice = nullptr;
    DialogButtons m_buttons;
};

} // namespace korvimo
