#include "ui/dialogs/tnieuwform.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QButtonGroup>
#include <QToolButton>
#include <QVBoxLayout>

#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "document/diagramfile.h"
#include "document/library.h"
#include "ui/dialogs/dialoghelpers.h"

namespace korvimo {

namespace {

constexpr int kHelpContext = 80;
constexpr int kPreviewSide = 169;

// A preview picture of any kind the program loads: pixel formats through
// Qt, metafiles through our own reader.
QPixmap loadPreview(const QString& path)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        if (const auto meta = readMetafileFile(path); meta && meta->width() > 0 && meta->height() > 0)
            image = renderToImage(*meta, QSize(meta->width(), meta->height()), true);
    }
    if (image.isNull())
        return {};
    if (image.width() > kPreviewSide || image.height() > kPreviewSide)
        image = image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

} // namespace

TNieuwForm::TNieuwForm(ProgramContext& ctx, DiagramLibrary& library, DiagramFile& files, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_library(library), m_files(files)
{
    dialogs::frameDialog(*this, "NieuwForm", QStringLiteral("Nieuw bestand"), kHelpContext);
    setMinimumSize(580, 355);

    RadioButton1 = new QRadioButton(QStringLiteral("L&eeg"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("&Uit bibliotheek"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setChecked(true);
    auto* startGroup = new QButtonGroup(this);
    startGroup->addButton(RadioButton1);
    startGroup->addButton(RadioButton2);

    auto* libGroup = new QGroupBox(QStringLiteral(" Bibliotheek: "), this);
    libGroup->setObjectName(QStringLiteral("GroupBox1"));
    LibListBox = new QListWidget(libGroup);
    LibListBox->setObjectName(QStringLiteral("LibListBox"));
    auto* libLayout = new QVBoxLayout(libGroup);
    libLayout->addWidget(LibListBox);

    VoorbeeldImage = new QLabel(this);
    VoorbeeldImage->setObjectName(QStringLiteral("VoorbeeldImage"));
    VoorbeeldImage->setFixedSize(kPreviewSide, kPreviewSide);
    VoorbeeldImage->setAlignment(Qt::AlignCenter);
    VoorbeeldImage->setAutoFillBackground(true);
    QPalette white = VoorbeeldImage->palette();
    white.setColor(QPalette::Window, Qt::white);
    VoorbeeldImage->setPalette(white);
    VoorbeeldImage->setFrameShape(QFrame::Box);

    RhRadioButton = new QRadioButton(QStringLiteral("&Rechtsrijdend"), this);
    RhRadioButton->setObjectName(QStringLiteral("RhRadioButton"));
    RhRadioButton->setChecked(true);
    LhRadioButton = new QRadioButton(QStringLiteral("&Linksrijdend"), this);
    LhRadioButton->setObjectName(QStringLiteral("LhRadioButton"));
    auto* sideGroup = new QButtonGroup(this);
    sideGroup->addButton(RhRadioButton);
    sideGroup->addButton(LhRadioButton);

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    dialogs::makeActionButtons(*this, QStringLiteral("&OK"), kHelpContext, BitBtn1, BitBtn2, HelpButton);

    auto* left = new QVBoxLayout();
    left->addWidget(RadioButton1);
    left->addWidget(RadioButton2);
    left->addWidget(libGroup, 1);
    auto* right = new QVBoxLayout();
    right->addWidget(VoorbeeldImage);
    right->addSpacing(8);
    right->addWidget(RhRadioButton);
    right->addWidget(LhRadioButton);
    right->addStretch(1);
    auto* top = new QHBoxLayout();
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(CheckBox1, 1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(LibListBox, &QListWidget::itemClicked, this, [this] { LibListBoxClick(); });
    connect(LibListBox, &QListWidget::currentRowChanged, this, [this] { LibListBoxClick(); });
    connect(LibListBox, &QListWidget::itemDoubleClicked, this, [this] { BitBtn1Click(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TNieuwForm::LibListBoxVullen()
{
    dialogs::BusyCursor busy;
    LibListBox->blockSignals(true);
    LibListBox->clear();
    LibListBox->addItems(m_library.LibListBoxVullen());
    LibListBox->blockSignals(false);
    m_filled = true;
    m_filledForLanguage = m_ctx.settings.language;
    if (LibListBox->count() > 0) {
        LibListBox->setCurrentRow(0);
        LibListBoxClick();
    }
}

void TNieuwForm::fillWhenStale()
{
    if (!m_filled || m_filledForLanguage != m_ctx.settings.language)
        LibListBoxVullen();
}

void TNieuwForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TNieuwForm::FormActivate()
{
    {
        dialogs::BusyCursor busy;
        fillWhenStale();
        CheckBox1->setChecked(m_ctx.settings.startShowNewForm);
        LhRadioButton->setChecked(m_ctx.settings.libLeftHandTraffic);
        RhRadioButton->setChecked(!m_ctx.settings.libLeftHandTraffic);
        // Once shown, the buttons hold the setting, and the templates that
        // the version-2 reader and the imports open follow them - also
        // after Cancel. A side picked and then cancelled does not count.
        m_library.setLeftHandTraffic(m_ctx.settings.libLeftHandTraffic);
        CheckBox1->setText(m_ctx.texts.format(QStringLiteral("AA00041"), {QString::fromLatin1(kProgramName)}));
    }
    if (RadioButton2->isChecked())
        LibListBox->setFocus();
    else
        BitBtn1->setFocus();
}

QString TNieuwForm::selectedCode() const
{
    const QListWidgetItem* item = LibListBox->currentItem();
    return item ? item->text().left(6) : QString();
}

bool TNieuwForm::selectCode(const QString& code)
{
    for (int i = 0; i < LibListBox->count(); ++i) {
        if (LibListBox->item(i)->text().left(6) == code) {
            LibListBox->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void TNieuwForm::LibListBoxClick()
{
    dialogs::BusyCursor busy;
    RadioButton2->setChecked(true);
    showPreview(selectedCode());
}

void TNieuwForm::showPreview(const QString& code)
{
    // White until a picture is found; a missing picture is no error.
    VoorbeeldImage->setPixmap(QPixmap());
    if (code.isEmpty())
        return;
    const QString path = m_library.previewPicturePath(code);
    if (path.isEmpty())
        return;
    const QPixmap picture = loadPreview(path);
    if (!picture.isNull())
        VoorbeeldImage->setPixmap(picture);
}

void TNieuwForm::CheckBox1Click() { m_ctx.settings.startShowNewForm = CheckBox1->isChecked(); }

void TNieuwForm::BitBtn1Click()
{
    const bool leftHand = LhRadioButton->isChecked();
    m_ctx.settings.libLeftHandTraffic = leftHand;
    // The version-2 reader and the imports open their templates with the
    // side chosen here last.
    m_library.setLeftHandTraffic(leftHand);
    if (replaceDocument)
        replaceDocument();
    const QString code = selectedCode();
    if (RadioButton2->isChecked() && !code.isEmpty()) {
        dialogs::BusyCursor busy;
        m_library.OpenBestandUitLib(code, m_files, leftHand);
    }
    accept();
}

} // namespace korvimo
