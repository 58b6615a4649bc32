#pragma once
// `TNieuwForm` ("Nieuw bestand"): the new-diagram dialog. The user starts
// from an empty diagram or from a library template, with right- or
// left-hand traffic. The open document stays while the dialog shows: OK
// replaces it (through replaceDocument), Cancel keeps it.
#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace korvimo {

class DiagramFile;
class DiagramLibrary;
struct ProgramContext;

class TNieuwForm final : public QDialog {
    Q_OBJECT
public:
    TNieuwForm(ProgramContext& ctx, DiagramLibrary& library, DiagramFile& files, QWidget* parent = nullptr);

    // LibListBoxVullen: the template list and the template texts, read
    // anew (after a change of language). The first entry is selected.
    void LibListBoxVullen();
    // The list is filled the first time the dialog shows, and again when
    // the language has changed since.
    void fillWhenStale();

    // Handlers, public so that the main window's wiring and tests can run
    // them as a click would.
    void FormActivate();
    void LibListBoxClick();
    void BitBtn1Click();
    void CheckBox1Click();

    // The code of the selected entry (its first six characters); empty
    // when nothing is selected.
    QString selectedCode() const;
    // Selects the entry of a code; false when the list has none.
    bool selectCode(const QString& code);

    // Called by OK before the choice is opened: makes the new, empty
    // document (the save question has been asked before the dialog showed).
    // Unset, OK opens the choice over what the document holds.
    std::function<void()> replaceDocument;

    QRadioButton* RadioButton1 = nullptr; // "L&eeg"
    QRadioButton* RadioButton2 = nullptr; // "&Uit bibliotheek"
    QListWidget* LibListBox = nullptr;
    QLabel* VoorbeeldImage = nullptr;
    QRadioButton* RhRadioButton = nullptr;
    QRadioButton* LhRadioButton = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QToolButton* HelpButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPreview(const QString& code);

    ProgramContext& m_ctx;
    DiagramLibrary& m_library;
    DiagramFile& m_files;
    QString m_filledForLanguage;
    bool m_filled = false;
};

} // namespace korvimo
