#pragma once
// `TExporterenForm` ("Exporteren"): writes the open diagram to a picture
// file in one of five formats, or as SVG or PDF for other programs. The name rules, the overwrite question and
// the writing are the export code's (output/exportfile.h); the dialog maps
// its controls to them and keeps the choice in the program settings.
#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class TExporterenForm final : public QDialog {
    Q_OBJECT
public:
    TExporterenForm(ProgramContext& ctx, const DiagramDocument& doc, QWidget* parent = nullptr);

    // The save dialog: proposed name (in the folder of the last export of
    // this run, else the diagram's) and filter in, chosen name out (empty
    // when cancelled). Defaults to the system's file dialog; tests replace it.
    std::function<QString(const QString& proposed, const QString& filter)> saveFileName;

    void FormActivate();
    // Runs the export; true when a file was written (the dialog then closes).
    bool BitBtn1Click();

    // The checked format as an ExportType (1 ... 7).
    int checkedExportType() const;
    void checkExportType(int exportType);

    // The save dialog's filter, in Qt's form.
    static QString saveFilter();

    QRadioButton* RadioButton1 = nullptr; // BMP
    QRadioButton* RadioButton2 = nullptr; // EMF
    QRadioButton* RadioButton3 = nullptr; // WMF
    QRadioButton* RadioButton4 = nullptr; // JPG
    QRadioButton* RadioButton5 = nullptr; // PNG
    QRadioButton* RadioButton6 = nullptr; // SVG
    QRadioButton* RadioButton7 = nullptr; // PDF
    QSpinBox* SpinEdit1 = nullptr;
    QLabel* BreedteLabel = nullptr;
    QLabel* PixelsLabel = nullptr;
    QCheckBox* AntiAliasedCheckBox = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QToolButton* HelpButton = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updatePixelControls();

    ProgramContext& m_ctx;
    const DiagramDocument& m_doc;
    QString m_lastFolder; // where this run exported last
};

} // namespace korvimo
