#include "ui/dialogs/tafdrukkenform.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/maakmeta.h"
#include "ui/dialogs/dialoghelpers.h"
#include "ui/lists/dialogparts.h"

namespace korvimo {

namespace {

constexpr int kHelpContext = 120;
constexpr int kFrameSide = 271;
constexpr int kSpacingUnit = 3;

QSpinBox* numberField(QWidget* parent, const char* name, int minimum, int maximum)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(minimum, maximum);
    s->setSingleStep(5);
    return s;
}

// Copy n of a PDF job: the first file's name with "-n" before ".pdf".
QString copyFileName(const QString& first, int copy)
{
    if (copy <= 1)
        return first;
    const QFileInfo info(first);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-') + QString::number(copy) + suffix;
}

} // namespace

// The paper-white page with its black shadow on a light frame.
class TAfdrukkenForm::PreviewFrame final : public QWidget {
public:
    explicit PreviewFrame(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("VoorbeeldPanel"));
        setFixedSize(kFrameSide, kFrameSide);
    }
    void setPage(const QRect& paper, const QImage& picture)
    {
        m_paper = paper;
        m_picture = picture;
        update();
    }
    QRect paper() const { return m_paper; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xE8, 0xE8, 0xE8));
        if (m_paper.isEmpty() || !isEnabled())
            return;
        p.fillRect(m_paper.translated(kSpacingUnit, kSpacingUnit), Qt::black);
        p.fillRect(m_paper, Qt::white);
        if (!m_picture.isNull())
            p.drawImage(m_paper, m_picture);
    }

private:
    QRect m_paper;
    QImage m_picture;
};

TAfdrukkenForm::TAfdrukkenForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    dialogs::frameDialog(*this, "AfdrukkenForm", QStringLiteral("Afdrukken"), kHelpContext);
    constexpr int kNoLimit = std::numeric_limits<int>::max();

    auto* previewGroup = new QGroupBox(QStringLiteral(" Afdrukvoorbeeld: "), this);
    previewGroup->setObjectName(QStringLiteral("VoorbeeldGroupBox"));
    m_frame = new PreviewFrame(previewGroup);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(m_frame, 0, Qt::AlignCenter);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* layoutTab = new QWidget(PageControl1);
    layoutTab->setObjectName(QStringLiteral("TabSheet1"));
    auto* settingsTab = new QWidget(PageControl1);
    settingsTab->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(layoutTab, QStringLiteral("Lay-out"));
    PageControl1->addTab(settingsTab, QStringLiteral("Instellingen"));

    auto* diagramGroup = new QGroupBox(QStringLiteral(" Diagram: "), layoutTab);
    diagramGroup->setObjectName(QStringLiteral("DiagramGroupBox"));
    LinksSpinEdit = numberField(diagramGroup, "LinksSpinEdit", -kNoLimit, kNoLimit);
    BovenSpinEdit = numberField(diagramGroup, "BovenSpinEdit", -kNoLimit, kNoLimit);
    GrootteSpinEdit = numberField(diagramGroup, "GrootteSpinEdit", 0, 999999999);
    auto* dg = new QGridLayout(diagramGroup);
    dg->addWidget(captionLabel("LinksLabel", QString::fromUtf8("Vanaf linker&marge:"), LinksSpinEdit, diagramGroup), 0, 0);
    dg->addWidget(LinksSpinEdit, 0, 1);
    dg->addWidget(captionLabel("LinksMmLabel", QString::fromUtf8("mm"), nullptr, diagramGroup), 0, 2);
    dg->addWidget(captionLabel("BovenLabel", QString::fromUtf8("Vanaf &bovenmarge:"), BovenSpinEdit, diagramGroup), 1, 0);
    dg->addWidget(BovenSpinEdit, 1, 1);
    dg->addWidget(captionLabel("BovenMmLabel", QString::fromUtf8("mm"), nullptr, diagramGroup), 1, 2);
    dg->addWidget(captionLabel("GrootteLabel", QString::fromUtf8("&Grootte:"), GrootteSpinEdit, diagramGroup), 2, 0);
    dg->addWidget(GrootteSpinEdit, 2, 1);
    dg->addWidget(captionLabel("GrootteProcentLabel", QString::fromUtf8("%"), nullptr, diagramGroup), 2, 2);

    auto* headerGroup = new QGroupBox(QStringLiteral(" Koptekst: "), layoutTab);
    headerGroup->setObjectName(QStringLiteral("KoptekstGroupBox"));
    KoptekstLinksSpinEdit = numberField(headerGroup, "KoptekstLinksSpinEdit", -kNoLimit, kNoLimit);
    KoptekstBovenSpinEdit = numberField(headerGroup, "KoptekstBovenSpinEdit", -kNoLimit, kNoLimit);
    KoptekstEdit1 = new QLineEdit(headerGroup);
    KoptekstEdit1->setObjectName(QStringLiteral("KoptekstEdit1"));
    FontButton = new QToolButton(headerGroup);
    FontButton->setObjectName(QStringLiteral("FontButton"));
    FontButton->setText(QStringLiteral("A"));
    FontButton->setToolTip(QStringLiteral("Lettertype"));
    auto* hg = new QGridLayout(headerGroup);
    hg->addWidget(captionLabel("KoptekstLinksLabel", QString::fromUtf8("Vanaf linker&marge:"), KoptekstLinksSpinEdit, headerGroup), 0, 0);
    hg->addWidget(KoptekstLinksSpinEdit, 0, 1);
    hg->addWidget(captionLabel("KoptekstLinksMmLabel", QString::fromUtf8("mm"), nullptr, headerGroup), 0, 2);
    hg->addWidget(captionLabel("KoptekstBovenLabel", QString::fromUtf8("Vanaf &bovenmarge:"), KoptekstBovenSpinEdit, headerGroup), 1, 0);
    hg->addWidget(KoptekstBovenSpinEdit, 1, 1);
    hg->addWidget(captionLabel("KoptekstBovenMmLabel", QString::fromUtf8("mm"), nullptr, headerGroup), 1, 2);
    auto* textRow = new QHBoxLayout();
    textRow->addWidget(KoptekstEdit1, 1);
    textRow->addWidget(FontButton);
    hg->addLayout(textRow, 2, 0, 1, 3);
    auto* layoutTabLayout = new QVBoxLayout(layoutTab);
    layoutTabLayout->addWidget(diagramGroup);
    layoutTabLayout->addWidget(headerGroup);
    layoutTabLayout->addStretch(1);

    auto* setupGroup = new QGroupBox(QStringLiteral(" Instellingen: "), settingsTab);
    setupGroup->setObjectName(QStringLiteral("InstellingenGroupBox"));
    PrinterSetupButton = new QPushButton(QStringLiteral("&Printerinstellingen"), setupGroup);
    PrinterSetupButton->setObjectName(QStringLiteral("PrinterSetupButton"));
    ProgInstelButton = new QPushButton(QStringLiteral("Programma-&instellingen"), setupGroup);
    ProgInstelButton->setObjectName(QStringLiteral("ProgInstelButton"));
    auto* sg = new QVBoxLayout(setupGroup);
    sg->addWidget(PrinterSetupButton);
    sg->addWidget(ProgInstelButton);
    auto* copiesGroup = new QGroupBox(QStringLiteral(" Aantal exemplaren: "), settingsTab);
    copiesGroup->setObjectName(QStringLiteral("AantalGroupBox"));
    AantalSpinEdit1 = numberField(copiesGroup, "AantalSpinEdit1", 1, 999999999);
    AantalSpinEdit1->setSingleStep(1);
    auto* cg = new QHBoxLayout(copiesGroup);
    cg->addWidget(AantalSpinEdit1);
    cg->addStretch(1);
    auto* settingsTabLayout = new QVBoxLayout(settingsTab);
    settingsTabLayout->addWidget(setupGroup);
    settingsTabLayout->addWidget(copiesGroup);
    settingsTabLayout->addStretch(1);

    dialogs::makeActionButtons(*this, QStringLiteral("Af&drukken"), kHelpContext, BitBtn1, BitBtn2, HelpButton);

    auto* top = new QHBoxLayout();
    top->addWidget(previewGroup);
    top->addWidget(PageControl1, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(570, 346);

    chooseFont = [this](const QFont& current) { return dialogs::chooseSystemFont(current, this); };
    printerSetup = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    for (QSpinBox* s : {LinksSpinEdit, BovenSpinEdit, GrootteSpinEdit, KoptekstLinksSpinEdit, KoptekstBovenSpinEdit})
        connect(s, &QSpinBox::valueChanged, this, [this] { edited(); });
    connect(KoptekstEdit1, &QLineEdit::textChanged, this, [this] { edited(); });
    connect(FontButton, &QToolButton::clicked, this, [this] {
        if (!chooseFont)
            return;
        if (const auto f = chooseFont(m_font)) {
            setHeaderFont(*f);
        }
    });
    connect(PrinterSetupButton, &QPushButton::clicked, this, [this] {
        // A new printer or paper is no change of the diagram.
        if (printerSetup && printerSetup(*m_printer))
            buildPreview();
    });
    connect(ProgInstelButton, &QPushButton::clicked, this, [this] {
        if (openProgramSettings)
            openProgramSettings();
        renderAgain();
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TAfdrukkenForm::~TAfdrukkenForm() = default;

void TAfdrukkenForm::usePdfPrinter()
{
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
}

bool TAfdrukkenForm::printsToPdf() const { return m_printer->outputFormat() == QPrinter::PdfFormat; }

PrintPage TAfdrukkenForm::page() const
{
    const int dpi = m_printer->resolution();
    const QRect paint = m_printer->pageLayout().paintRectPixels(dpi);
    return PrintPage{paint.width(), paint.height(), dpi, dpi};
}

PrintFields TAfdrukkenForm::fields() const
{
    PrintFields f;
    f.diagramLeft = LinksSpinEdit->value();
    f.diagramTop = BovenSpinEdit->value();
    f.diagramSize = GrootteSpinEdit->value();
    f.headerLeft = KoptekstLinksSpinEdit->value();
    f.headerTop = KoptekstBovenSpinEdit->value();
    f.header = KoptekstEdit1->text();
    f.fontName = m_font.family();
    f.fontSize = m_font.pointSize();
    f.bold = m_font.bold();
    f.italic = m_font.italic();
    f.underline = m_font.underline();
    f.strikeout = m_font.strikeOut();
    return f;
}

void TAfdrukkenForm::setHeaderFont(const QFont& font)
{
    m_font = font;
    edited();
}

QRect TAfdrukkenForm::previewPaperGeometry() const { return m_frame->paper(); }

void TAfdrukkenForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TAfdrukkenForm::renderAgain()
{
    dialogs::BusyCursor busy;
    MaakMeta(m_doc, m_ctx, m_drawing,
             m_ctx.settings.printType == QLatin1String("WMF") ? QStringLiteral("WMF") : QStringLiteral("EMF"),
             QStringLiteral("P"));
    buildPreview();
}

void TAfdrukkenForm::FormActivate()
{
    {
        dialogs::BusyCursor busy;
        m_frame->setEnabled(false);
        m_loading = true;
        MaakMeta(m_doc, m_ctx, m_drawing,
                 m_ctx.settings.printType == QLatin1String("WMF") ? QStringLiteral("WMF") : QStringLiteral("EMF"),
                 QStringLiteral("P"));
        const PrintFields f = printFieldsOf(m_doc.general);
        LinksSpinEdit->setValue(f.diagramLeft);
        BovenSpinEdit->setValue(f.diagramTop);
        GrootteSpinEdit->setValue(f.diagramSize);
        KoptekstLinksSpinEdit->setValue(f.headerLeft);
        KoptekstBovenSpinEdit->setValue(f.headerTop);
        KoptekstEdit1->setText(f.header);
        // The style starts from the font as it stands, less bold, italic
        // and underline: a strikeout chosen earlier in this run stays.
        const bool strike = m_font.strikeOut();
        QFont font(f.fontName);
        font.setPointSize(f.fontSize > 0 ? f.fontSize : 12);
        font.setStrikeOut(strike);
        font.setBold(f.bold);
        font.setItalic(f.italic);
        font.setUnderline(f.underline);
        m_font = font;
        m_loading = false;
        m_changed = false;
    }
    buildPreview();
    m_frame->setEnabled(true);
    AantalSpinEdit1->setValue(1);
    BitBtn1->setFocus();
}

void TAfdrukkenForm::edited()
{
    if (m_loading)
        return;
    m_changed = true;
    buildPreview();
}

void TAfdrukkenForm::buildPreview()
{
    const PrintPage p = page();
    const QRect paper = previewPaperRect(p.width, p.height, kFrameSide, kSpacingUnit);
    m_page = buildPrintPage(m_drawing, p, fields(), m_ctx.printFontFactor,
                            m_ctx.settings.printType == QLatin1String("WMF") ? MetafileKind::Wmf : MetafileKind::Emf);
    m_preview = paper.isEmpty() ? QImage() : renderToImage(m_page, paper.size(), true);
    m_frame->setPage(paper, m_preview);
}

bool TAfdrukkenForm::runJob(int copy, const QString& firstPdf, const QImage& bitmap)
{
    if (printsToPdf())
        m_printer->setOutputFileName(copyFileName(firstPdf, copy));
    m_printer->setDocName(parentWidget() ? parentWidget()->window()->windowTitle() : QString::fromLatin1(kProgramName));
    QPainter painter;
    if (!painter.begin(m_printer.get())) {
        m_ctx.messages().error(printsToPdf() ? QStringLiteral("Cannot write file \"%1\".").arg(m_printer->outputFileName())
                                             : QStringLiteral("The printer \"%1\" cannot start a job.").arg(m_printer->printerName()));
        return false;
    }
    const PrintPage p = page();
    if (bitmap.isNull())
        QtPlayer().play(m_page, painter, QRectF(0, 0, p.width, p.height));
    else
        painter.drawImage(QRect(0, 0, p.width, p.height), bitmap);
    return painter.end();
}

int TAfdrukkenForm::BitBtn1Click()
{
    QString firstPdf;
    if (printsToPdf()) {
        firstPdf = m_printer->outputFileName();
        if (firstPdf.isEmpty() && pdfFileName) {
            const QString base = QFileInfo(m_doc.fileName).completeBaseName();
            firstPdf = pdfFileName((base.isEmpty() ? QString::fromLatin1(kProgramName) : base) + QStringLiteral(".pdf"));
        }
        if (firstPdf.isEmpty())
            return 0;
        if (QFileInfo(firstPdf).suffix().isEmpty())
            firstPdf += QStringLiteral(".pdf");
    }
    int jobs = 0;
    {
        dialogs::BusyCursor busy;
        QImage bitmap;
        if (m_ctx.settings.printType == QLatin1String("BMP")) {
            bitmap = printBitmap(m_page, m_ctx.settings.printBmpSize, m_ctx.settings.printBmpColors == 1);
            if (bitmap.isNull()) {
                m_ctx.messages().error(QStringLiteral("A bitmap of %1 pixels cannot be made for printing.")
                                           .arg(m_ctx.settings.printBmpSize));
                return 0;
            }
        }
        const int copies = AantalSpinEdit1->value();
        for (int copy = 1; copy <= copies; ++copy) {
            if (!runJob(copy, firstPdf, bitmap))
                break;
            ++jobs;
        }
        if (printsToPdf())
            m_printer->setOutputFileName(QString()); // asked again next time
    }
    if (jobs == AantalSpinEdit1->value())
        accept();
    return jobs;
}

void TAfdrukkenForm::done(int result)
{
    if (m_changed) {
        storePrintFields(fields(), m_doc.general);
        m_doc.markChanged();
        m_changed = false;
        if (afterChange)
            afterChange();
    }
    QDialog::done(result);
}

} // namespace korvimo
