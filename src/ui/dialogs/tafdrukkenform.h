#pragma once
// `TAfdrukkenForm` ("Afdrukken"): prints the diagram on one page, placed in
// millimetres and percent with one line of header text, after a preview.
// The placement arithmetic and the page picture are output/printlayout.h;
// the dialog holds the printer, maps its fields to the diagram's print
// fields and runs the jobs.
//
// Every copy is a job of its own. When the printer writes PDF files, copy n
// (from the second on) goes beside the first file as "<name>-n.pdf", so no
// job overwrites another.
#include <QDialog>
#include <QFont>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>

#include "canvas/metafile.h"
#include "output/printlayout.h"

class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class TAfdrukkenForm final : public QDialog {
    Q_OBJECT
public:
    TAfdrukkenForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent = nullptr);
    ~TAfdrukkenForm() override;

    // Hooks the main window fills and tests replace.
    std::function<std::optional<QFont>(const QFont& current)> chooseFont;
    std::function<bool(QPrinter& printer)> printerSetup;       // true when changed
    std::function<void()> openProgramSettings;                 // on its "Uitvoer" page
    std::function<QString(const QString& proposed)> pdfFileName; // empty = cancelled
    std::function<void()> afterChange;                         // menu state after storing

    // Without a system printer the jobs go to PDF files; the file is asked
    // for when printing starts.
    void usePdfPrinter();
    bool printsToPdf() const;
    QPrinter& printer() { return *m_printer; }

    void FormActivate();
    // Renders the diagram again and rebuilds the preview.
    void renderAgain();
    void buildPreview();
    // "Af&drukken": the jobs; closes with OK when they ran. Returns the
    // number of jobs that were printed.
    int BitBtn1Click();

    PrintPage page() const;
    PrintFields fields() const;
    const Metafile& pagePicture() const { return m_page; }
    const QImage& previewImage() const { return m_preview; }
    QRect previewPaperGeometry() const;
    bool changed() const { return m_changed; }
    QFont headerFont() const { return m_font; }
    void setHeaderFont(const QFont& font);

    QSpinBox* LinksSpinEdit = nullptr;
    QSpinBox* BovenSpinEdit = nullptr;
    QSpinBox* GrootteSpinEdit = nullptr;
    QSpinBox* KoptekstLinksSpinEdit = nullptr;
    QSpinBox* KoptekstBovenSpinEdit = nullptr;
    QLineEdit* KoptekstEdit1 = nullptr;
    QToolButton* FontButton = nullptr;
    QPushButton* PrinterSetupButton = nullptr;
    QPushButton* ProgInstelButton = nullptr;
    QSpinBox* AantalSpinEdit1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QToolButton* HelpButton = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    class PreviewFrame;
    void edited();
    bool runJob(int copy, const QString& firstPdf, const QImage& bitmap);

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    std::unique_ptr<QPrinter> m_printer;
    PreviewFrame* m_frame = nullptr;
    Metafile m_drawing;
    Metafile m_page;
    QImage m_preview;
    QFont m_font;
    bool m_changed = false;
    bool m_loading = false;
};

} // namespace korvimo
