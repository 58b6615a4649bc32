#include "ui/dialogs/texporterenform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "output/exportfile.h"
#include "output/exportnames.h"
#include "ui/dialogs/dialoghelpers.h"
#include "ui/dialogs/filedialogfolder.h"

namespace korvimo {

namespace {
constexpr int kHelpContext = 100;

QRadioButton* radio(QWidget* parent, const char* name, const char* caption)
{
    auto* r = new QRadioButton(QString::fromUtf8(caption), parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}
} // namespace

TExporterenForm::TExporterenForm(ProgramContext& ctx, const DiagramDocument& doc, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc)
{
    dialogs::frameDialog(*this, "ExporterenForm", QStringLiteral("Exporteren"), kHelpContext);

    auto* vectorLabel = new QLabel(QStringLiteral("Vector bestand:"), this);
    vectorLabel->setObjectName(QStringLiteral("VectorLabel"));
    RadioButton2 = radio(this, "RadioButton2", "Windows Enhanced &Metafile [emf]");
    RadioButton3 = radio(this, "RadioButton3", "&Windows Metafile [wmf]");
    RadioButton6 = radio(this, "RadioButton6", "&SVG [svg]");
    RadioButton7 = radio(this, "RadioButton7", "P&DF [pdf]");
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    auto* pixelLabel = new QLabel(QStringLiteral("Pixel bestand:"), this);
    pixelLabel->setObjectName(QStringLiteral("PixelLabel"));
    RadioButton1 = radio(this, "RadioButton1", "Windows &Bitmap [bmp]");
    RadioButton4 = radio(this, "RadioButton4", "&JPEG [jpg] (kwaliteit 100%)");
    RadioButton5 = radio(this, "RadioButton5", "&PNG [png]");
    RadioButton2->setChecked(true); // the designed choice
    auto* group = new QButtonGroup(this);
    for (QRadioButton* r : {RadioButton2, RadioButton3, RadioButton6, RadioButton7, RadioButton1, RadioButton4,
                            RadioButton5}) {
        group->addButton(r);
        connect(r, &QRadioButton::toggled, this, [this] { updatePixelControls(); });
    }

    BreedteLabel = new QLabel(QStringLiteral("B&reedte (autom. hoogte):"), this);
    BreedteLabel->setObjectName(QStringLiteral("BreedteLabel"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 999999999);
    SpinEdit1->setSingleStep(50);
    BreedteLabel->setBuddy(SpinEdit1);
    PixelsLabel = new QLabel(QStringLiteral("pixels"), this);
    PixelsLabel->setObjectName(QStringLiteral("PixelsLabel"));
    AntiAliasedCheckBox = new QCheckBox(QStringLiteral("Anti-a&liased"), this);
    AntiAliasedCheckBox->setObjectName(QStringLiteral("AntiAliasedCheckBox"));

    dialogs::makeActionButtons(*this, QStringLiteral("&Exporteren..."), kHelpContext, BitBtn1, BitBtn2, HelpButton);

    auto* grid = new QGridLayout();
    grid->addWidget(vectorLabel, 0, 0, 1, 3);
    grid->addWidget(RadioButton2, 1, 0, 1, 3);
    grid->addWidget(RadioButton3, 2, 0, 1, 3);
    grid->addWidget(RadioButton6, 3, 0, 1, 3);
    grid->addWidget(RadioButton7, 4, 0, 1, 3);
    grid->addWidget(line, 5, 0, 1, 3);
    grid->addWidget(pixelLabel, 6, 0, 1, 3);
    grid->addWidget(RadioButton1, 7, 0, 1, 3);
    grid->addWidget(RadioButton4, 8, 0, 1, 3);
    grid->addWidget(RadioButton5, 9, 0, 1, 3);
    grid->addWidget(BreedteLabel, 10, 0);
    grid->addWidget(SpinEdit1, 10, 1);
    grid->addWidget(PixelsLabel, 10, 2);
    grid->addWidget(AntiAliasedCheckBox, 11, 0, 1, 3);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog border

    saveFileName = [this](const QString& proposed, const QString& filter) {
        return QFileDialog::getSaveFileName(this, QString(), proposed, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

QString TExporterenForm::saveFilter()
{
    // Every format the dialog writes, so that no chosen file is hidden.
    return QStringLiteral("Images (*.bmp  *.emf  *.wmf  *.jpg  *.png  *.svg  *.pdf);;Alle files (*.*)");
}

int TExporterenForm::checkedExportType() const
{
    if (RadioButton3->isChecked())
        return ExportWmf;
    if (RadioButton1->isChecked())
        return ExportBmp;
    if (RadioButton4->isChecked())
        return ExportJpg;
    if (RadioButton5->isChecked())
        return ExportPng;
    if (RadioButton6->isChecked())
        return ExportSvg;
    if (RadioButton7->isChecked())
        return ExportPdf;
    return ExportEmf;
}

void TExporterenForm::checkExportType(int exportType)
{
    switch (exportType) {
    case ExportEmf: RadioButton2->setChecked(true); break;
    case ExportWmf: RadioButton3->setChecked(true); break;
    case ExportBmp: RadioButton1->setChecked(true); break;
    case ExportJpg: RadioButton4->setChecked(true); break;
    case ExportPng: RadioButton5->setChecked(true); break;
    case ExportSvg: RadioButton6->setChecked(true); break;
    case ExportPdf: RadioButton7->setChecked(true); break;
    default: break; // the designed choice stays
    }
    updatePixelControls();
}

void TExporterenForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TExporterenForm::FormActivate()
{
    checkExportType(m_ctx.settings.exportType);
    SpinEdit1->setValue(m_ctx.settings.exportBmpSize);
    AntiAliasedCheckBox->setChecked(m_ctx.settings.exportPixAntiAliased);
    updatePixelControls();
    BitBtn1->setFocus();
}

void TExporterenForm::updatePixelControls()
{
    const bool pixel = isPixelExportType(checkedExportType());
    for (QWidget* w : {static_cast<QWidget*>(SpinEdit1), static_cast<QWidget*>(BreedteLabel),
                       static_cast<QWidget*>(PixelsLabel), static_cast<QWidget*>(AntiAliasedCheckBox)})
        w->setEnabled(pixel);
}

bool TExporterenForm::BitBtn1Click()
{
    const int type = checkedExportType();
    const QString proposed =
        dialogStartPath({m_lastFolder, documentFolder(m_doc.fileName, m_ctx.paths.tempFolder)},
                        proposedExportFileName(m_doc.fileName, type));
    const QString chosen = saveFileName(proposed, saveFilter());
    if (chosen.isEmpty())
        return false;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    bool written = false;
    {
        dialogs::BusyCursor busy;
        written = exportChosenFile(m_doc, m_ctx, type, SpinEdit1->value(), AntiAliasedCheckBox->isChecked(), chosen);
    }
    if (written)
        accept();
    return written;
}

void TExporterenForm::done(int result)
{
    // Either button keeps the choice, the pixel values included while a
    // vector format is checked.
    m_ctx.settings.exportType = checkedExportType();
    m_ctx.settings.exportBmpSize = SpinEdit1->value();
    m_ctx.settings.exportPixAntiAliased = AntiAliasedCheckBox->isChecked();
    QDialog::done(result);
}

} // namespace korvimo
