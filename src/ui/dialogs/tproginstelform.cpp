#include "ui/dialogs/tproginstelform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "core/programcontext.h"
#include "ui/dialogs/dialoghelpers.h"
#include "ui/lists/dialogparts.h"
#include "uikit/theme.h"

namespace korvimo {

namespace {

constexpr int kHelpContext = 140;
constexpr int kNoLimit = std::numeric_limits<int>::max();

QSpinBox* spin(QWidget* parent, const char* name, int minimum, int maximum, int step = 1)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(minimum, maximum);
    s->setSingleStep(step);
    return s;
}

QComboBox* combo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

// A stored text that is not among the items shows the last item.
void selectOrLast(QComboBox* box, const QString& text)
{
    const int i = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(i < 0 ? box->count() - 1 : i);
}

QToolButton* swatch(QWidget* parent, const QString& name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setFixedSize(36, 20);
    b->setAutoFillBackground(true);
    return b;
}

} // namespace

TProgInstelForm::TProgInstelForm(ProgramContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    dialogs::frameDialog(*this, "ProgInstelForm", QStringLiteral("Programma-instellingen"), kHelpContext);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // "Programma"
    auto* programma = new QWidget(PageControl1);
    programma->setObjectName(QStringLiteral("TabSheet1"));
    auto* algemeen = groupBox("AlgemeenGroupBox", QString::fromUtf8(" Algemeen: "), programma);
    CoordsIntervalSpinEdit = spin(algemeen, "CoordsIntervalSpinEdit", 1, 999999999);
    ZoomInOutSpinEdit = spin(algemeen, "ZoomInOutSpinEdit", 1, 999999999, 10);
    Win9xSpinEdit = spin(algemeen, "Win9xSpinEdit", -kNoLimit - 1, kNoLimit, 10);
    CSVSepEdit = new QLineEdit(algemeen);
    CSVSepEdit->setObjectName(QStringLiteral("CSVSepEdit"));
    DrawMethodSpinEdit = spin(algemeen, "DrawMethodSpinEdit", 1, 3);
    AutoRedrawCheckBox = checkBox("AutoRedrawCheckBox", QStringLiteral("Auto&matisch opnieuw tekenen na wijzigen schaal"), algemeen);
    Arc22CheckBox = checkBox("Arc22CheckBox", QStringLiteral("Arc&22Arcs toestaan:"), algemeen);
    Arc22SpinEdit = spin(algemeen, "Arc22SpinEdit", -kNoLimit - 1, kNoLimit);
    UprightCheckBox = checkBox("UprightCheckBox", QStringLiteral("Teksten altijd &rechtop"), algemeen);
    NamesClearCheckBox = checkBox("NamesClearCheckBox", QStringLiteral("Straat&namen vrij van de stromen"), algemeen);
    CachedGlyphsCheckBox = checkBox("CachedGlyphsCheckBox", QStringLiteral("Grote letters in pixelbeelden &snel tekenen"), algemeen);
    RingCheckBox = checkBox("RingCheckBox", QStringLiteral("Rotondestromen draaien m&ee met de armen"), algemeen);
    auto* ag = new QGridLayout(algemeen);
    ag->addWidget(captionLabel("CoordsIntervalLabel", QString::fromUtf8("Coördinateninter&val:"), CoordsIntervalSpinEdit, algemeen), 0, 0);
    ag->addWidget(CoordsIntervalSpinEdit, 0, 1);
    ag->addWidget(captionLabel("CoordsIntervalPixelsLabel", QString::fromUtf8("pixels"), nullptr, algemeen), 0, 2);
    ag->addWidget(captionLabel("ZoomInOutLabel", QString::fromUtf8("In-/Uit&zoomwaarde:"), ZoomInOutSpinEdit, algemeen), 1, 0);
    ag->addWidget(ZoomInOutSpinEdit, 1, 1);
    ag->addWidget(captionLabel("Win9xLabel", QString::fromUtf8("Win&9x correctie:"), Win9xSpinEdit, algemeen), 2, 0);
    ag->addWidget(Win9xSpinEdit, 2, 1);
    ag->addWidget(captionLabel("CSVSepLabel", QString::fromUtf8("&Scheidingsteken(s) CSV-bestand:"), CSVSepEdit, algemeen), 3, 0);
    ag->addWidget(CSVSepEdit, 3, 1);
    ag->addWidget(captionLabel("DrawMethodLabel", QString::fromUtf8("Tekenmethode (scherm):"), DrawMethodSpinEdit, algemeen), 4, 0);
    ag->addWidget(DrawMethodSpinEdit, 4, 1);
    ag->addWidget(captionLabel("DrawMethodDefaultLabel", QString::fromUtf8("(default = 3)"), nullptr, algemeen), 4, 2);
    ag->addWidget(AutoRedrawCheckBox, 5, 0, 1, 3);
    ag->addWidget(Arc22CheckBox, 6, 0);
    ag->addWidget(Arc22SpinEdit, 6, 1);
    ag->addWidget(captionLabel("Arc22DefaultLabel", QString::fromUtf8("(default = 2)"), nullptr, algemeen), 6, 2);
    ag->addWidget(UprightCheckBox, 7, 0, 1, 3);
    ag->addWidget(NamesClearCheckBox, 8, 0, 1, 3);
    ag->addWidget(CachedGlyphsCheckBox, 9, 0, 1, 3);
    ag->addWidget(RingCheckBox, 10, 0, 1, 3);

    auto* thema = groupBox("ThemaGroupBox", QString::fromUtf8(" Interface thema: "), programma);
    ThemeSystemRadioButton = new QRadioButton(QStringLiteral("Volg systeem&instellingen"), thema);
    ThemeSystemRadioButton->setObjectName(QStringLiteral("ThemeSystemRadioButton"));
    ThemeLightRadioButton = new QRadioButton(QStringLiteral("&Licht (na herstart programma)"), thema);
    ThemeLightRadioButton->setObjectName(QStringLiteral("ThemeLightRadioButton"));
    ThemeDarkRadioButton = new QRadioButton(QStringLiteral("&Donker (Windows 10 of recenter)"), thema);
    ThemeDarkRadioButton->setObjectName(QStringLiteral("ThemeDarkRadioButton"));
    auto* themes = new QButtonGroup(this);
    for (QRadioButton* r : {ThemeSystemRadioButton, ThemeLightRadioButton, ThemeDarkRadioButton})
        themes->addButton(r);
    DarkBgShape = swatch(thema, QStringLiteral("DarkBgShape"));
    DarkBgButton = new QToolButton(thema);
    DarkBgButton->setObjectName(QStringLiteral("DarkBgButton"));
    DarkBgButton->setText(QStringLiteral("..."));
    DarkBgButton->setToolTip(QStringLiteral("Kleur"));
    auto* tg = new QGridLayout(thema);
    tg->addWidget(ThemeSystemRadioButton, 0, 0, 1, 3);
    tg->addWidget(ThemeLightRadioButton, 1, 0, 1, 3);
    tg->addWidget(ThemeDarkRadioButton, 2, 0, 1, 3);
    tg->addWidget(captionLabel("DarkBgLabel", QString::fromUtf8("Achtergrond diagram donker thema:"), nullptr, thema), 3, 0);
    tg->addWidget(DarkBgShape, 3, 1);
    tg->addWidget(DarkBgButton, 3, 2);
    tg->setColumnStretch(3, 1);
    auto* pl = new QVBoxLayout(programma);
    pl->addWidget(algemeen);
    pl->addWidget(thema);
    pl->addStretch(1);
    PageControl1->addTab(programma, QStringLiteral("Programma"));

    // "Opmaak"
    auto* opmaak = new QWidget(PageControl1);
    opmaak->setObjectName(QStringLiteral("TabSheet2"));
    auto* maxGroup = groupBox("MaxGrootteGroupBox", QString::fromUtf8(" Maximale diagramgrootte: "), opmaak);
    MaxWidthSpinEdit = spin(maxGroup, "MaxWidthSpinEdit", 1, 999999999, 50);
    MaxHeightSpinEdit = spin(maxGroup, "MaxHeightSpinEdit", 1, 999999999, 50);
    auto* mg = new QGridLayout(maxGroup);
    mg->addWidget(captionLabel("MaxWidthLabel", QString::fromUtf8("&Breedte:"), MaxWidthSpinEdit, maxGroup), 0, 0);
    mg->addWidget(MaxWidthSpinEdit, 0, 1);
    mg->addWidget(captionLabel("MaxWidthPixelsLabel", QString::fromUtf8("pixels"), nullptr, maxGroup), 0, 2);
    mg->addWidget(captionLabel("MaxHeightLabel", QString::fromUtf8("&Hoogte:"), MaxHeightSpinEdit, maxGroup), 1, 0);
    mg->addWidget(MaxHeightSpinEdit, 1, 1);
    mg->addWidget(captionLabel("MaxHeightPixelsLabel", QString::fromUtf8("pixels"), nullptr, maxGroup), 1, 2);
    mg->setColumnStretch(3, 1);
    auto* fontGroup = groupBox("LettertypeGroupBox", QString::fromUtf8(" Lettertype: "), opmaak);
    FontEdit = new QLineEdit(fontGroup);
    FontEdit->setObjectName(QStringLiteral("FontEdit"));
    FontEdit->setReadOnly(true);
    FontButton = new QToolButton(fontGroup);
    FontButton->setObjectName(QStringLiteral("FontButton"));
    FontButton->setText(QStringLiteral("A"));
    FontButton->setToolTip(QStringLiteral("Lettertype"));
    auto* fg = new QHBoxLayout(fontGroup);
    fg->addWidget(FontEdit, 1);
    fg->addWidget(FontButton);
    auto* ol = new QVBoxLayout(opmaak);
    ol->addWidget(maxGroup);
    ol->addWidget(fontGroup);
    ol->addStretch(1);
    PageControl1->addTab(opmaak, QStringLiteral("Opmaak"));

    // "Uitvoer"
    auto* uitvoer = new QWidget(PageControl1);
    uitvoer->setObjectName(QStringLiteral("TabSheet3"));
    auto* copyGroup = groupBox("KopierenGroupBox", QString::fromUtf8(" Diagram kopiëren naar klembord: "), uitvoer);
    CopyTypeComboBox = combo(copyGroup, "CopyTypeComboBox", {"EMF", "WMF", "JPG", "PNG"});
    CopyFactorSpinEdit = spin(copyGroup, "CopyFactorSpinEdit", 1, 999999999, 100);
    CopyPixWidthSpinEdit = spin(copyGroup, "CopyPixWidthSpinEdit", 0, 999999999, 50);
    CopyAntiAliasedCheckBox = checkBox("CopyAntiAliasedCheckBox", QStringLiteral("JPG/PNG Anti-a&liased"), copyGroup);
    auto* cg = new QGridLayout(copyGroup);
    cg->addWidget(captionLabel("CopyTypeLabel", QString::fromUtf8("Typ&e:"), CopyTypeComboBox, copyGroup), 0, 0);
    cg->addWidget(CopyTypeComboBox, 0, 1);
    cg->addWidget(captionLabel("CopyFactorLabel", QString::fromUtf8("EMF/WMF &vergroting:"), CopyFactorSpinEdit, copyGroup), 1, 0);
    cg->addWidget(CopyFactorSpinEdit, 1, 1);
    cg->addWidget(captionLabel("CopyFactorUnitLabel", QString::fromUtf8("/ 1000"), nullptr, copyGroup), 1, 2);
    cg->addWidget(captionLabel("CopyPixWidthLabel", QString::fromUtf8("JPG/PNG b&reedte (autom. hoogte):"), CopyPixWidthSpinEdit, copyGroup), 2, 0);
    cg->addWidget(CopyPixWidthSpinEdit, 2, 1);
    cg->addWidget(captionLabel("CopyPixWidthPixelsLabel", QString::fromUtf8("pixels"), nullptr, copyGroup), 2, 2);
    cg->addWidget(CopyAntiAliasedCheckBox, 3, 0, 1, 3);
    auto* printGroup = groupBox("AfdrukkenGroupBox", QString::fromUtf8(" Afdrukken: "), uitvoer);
    PrintTypeComboBox = combo(printGroup, "PrintTypeComboBox", {"EMF", "WMF", "BMP"});
    PrintBmpSizeSpinEdit = spin(printGroup, "PrintBmpSizeSpinEdit", 0, 999999999, 500);
    PrintColorsComboBox = combo(printGroup, "PrintColorsComboBox", {"Max.", "16"});
    auto* prg = new QGridLayout(printGroup);
    prg->addWidget(captionLabel("PrintTypeLabel", QString::fromUtf8("Typ&e:"), PrintTypeComboBox, printGroup), 0, 0);
    prg->addWidget(PrintTypeComboBox, 0, 1);
    prg->addWidget(captionLabel("PrintBmpSizeLabel", QString::fromUtf8("Grootte BMP:"), PrintBmpSizeSpinEdit, printGroup), 1, 0);
    prg->addWidget(PrintBmpSizeSpinEdit, 1, 1);
    prg->addWidget(captionLabel("PrintBmpSizePixelsLabel", QString::fromUtf8("pixels"), nullptr, printGroup), 1, 2);
    prg->addWidget(captionLabel("PrintColorsLabel", QString::fromUtf8("Aantal &kleuren BMP:"), PrintColorsComboBox, printGroup), 2, 0);
    prg->addWidget(PrintColorsComboBox, 2, 1);
    auto* ul = new QVBoxLayout(uitvoer);
    ul->addWidget(copyGroup);
    ul->addWidget(printGroup);
    ul->addStretch(1);
    PageControl1->addTab(uitvoer, QStringLiteral("Uitvoer"));

    // "Kleuren"
    auto* kleuren = new QWidget(PageControl1);
    kleuren->setObjectName(QStringLiteral("TabSheet4"));
    auto* colourGroup = groupBox("BasisKleurenGroupBox", QString::fromUtf8(" Basis standaard kleuren: "), kleuren);
    auto* kg = new QGridLayout(colourGroup);
    for (int i = 0; i < 16; ++i) {
        const QString name = QStringLiteral("Color%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        colorSwatches[i] = swatch(colourGroup, name + QStringLiteral("Shape"));
        auto* l = new QLabel(name + QLatin1Char(':'), colourGroup);
        l->setObjectName(name + QStringLiteral("Label"));
        const int row = i % 8;
        const int col = (i / 8) * 2;
        kg->addWidget(l, row, col);
        kg->addWidget(colorSwatches[i], row, col + 1);
        connect(colorSwatches[i], &QToolButton::clicked, this, [this, i] {
            const auto& choose = chooseBaseColor ? chooseBaseColor : chooseColor;
            if (!choose)
                return;
            if (const auto c = choose(m_colors[i])) {
                m_colors[i] = *c;
                setSwatch(colorSwatches[i], *c);
            }
        });
    }
    KleurWijzigenButton = new QPushButton(QStringLiteral("&Kleur wijzigen..."), colourGroup);
    KleurWijzigenButton->setObjectName(QStringLiteral("KleurWijzigenButton"));
    kg->addWidget(KleurWijzigenButton, 8, 0, 1, 4);
    auto* kl = new QVBoxLayout(kleuren);
    kl->addWidget(colourGroup);
    kl->addStretch(1);
    PageControl1->addTab(kleuren, QStringLiteral("Kleuren"));

    // "Analyse": comparison diagrams and the vehicle classes of OD and CSV
    // files (requests say their own).
    auto* analyse = new QWidget(PageControl1);
    analyse->setObjectName(QStringLiteral("TabSheet5"));
    auto* vergelijken = groupBox("VergelijkenGroupBox", QString::fromUtf8(" Vergelijken: "), analyse);
    IncreaseColorSpinEdit = spin(vergelijken, "IncreaseColorSpinEdit", 1, 16);
    DecreaseColorSpinEdit = spin(vergelijken, "DecreaseColorSpinEdit", 1, 16);
    ComparePercentCheckBox = checkBox("ComparePercentCheckBox", QStringLiteral("&Percentages van de basis tonen"), vergelijken);
    CompareZeroCheckBox = checkBox("CompareZeroCheckBox", QStringLiteral("&Nul tonen bij geen verandering"), vergelijken);
    auto* vg = new QGridLayout(vergelijken);
    vg->addWidget(captionLabel("IncreaseColorLabel", QString::fromUtf8("Kleurnummer &toename:"), IncreaseColorSpinEdit, vergelijken), 0, 0);
    vg->addWidget(IncreaseColorSpinEdit, 0, 1);
    vg->addWidget(captionLabel("DecreaseColorLabel", QString::fromUtf8("Kleurnummer a&fname:"), DecreaseColorSpinEdit, vergelijken), 1, 0);
    vg->addWidget(DecreaseColorSpinEdit, 1, 1);
    vg->addWidget(ComparePercentCheckBox, 2, 0, 1, 3);
    vg->addWidget(CompareZeroCheckBox, 3, 0, 1, 3);
    vg->setColumnStretch(2, 1);
    auto* klassen = groupBox("KlassenGroupBox", QString::fromUtf8(" Voertuigklassen (OD- en CSV-bestanden): "), analyse);
    VolumeClassesEdit = new QLineEdit(klassen);
    VolumeClassesEdit->setObjectName(QStringLiteral("VolumeClassesEdit"));
    VolumeShareClassEdit = new QLineEdit(klassen);
    VolumeShareClassEdit->setObjectName(QStringLiteral("VolumeShareClassEdit"));
    auto* classGrid = new QGridLayout(klassen);
    classGrid->addWidget(captionLabel("VolumeClassesLabel", QString::fromUtf8("&Getekend (bijv. MVT+VRA*2):"), VolumeClassesEdit, klassen), 0, 0);
    classGrid->addWidget(VolumeClassesEdit, 0, 1);
    classGrid->addWidget(captionLabel("VolumeShareClassLabel", QString::fromUtf8("Aandeel &weergeven van klasse:"), VolumeShareClassEdit, klassen), 1, 0);
    classGrid->addWidget(VolumeShareClassEdit, 1, 1);
    auto* al = new QVBoxLayout(analyse);
    al->addWidget(vergelijken);
    al->addWidget(klassen);
    al->addStretch(1);
    PageControl1->addTab(analyse, QStringLiteral("Analyse"));

    dialogs::makeActionButtons(*this, QStringLiteral("&OK"), kHelpContext, BitBtn1, BitBtn2, HelpButton);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    chooseColor = [this](const QColor& current) { return dialogs::BepaalKleur(current, this); };
    chooseFont = [this](const QFont& current) { return dialogs::chooseSystemFont(current, this); };
    darkModeAllowed = [] { return uikit::DarkModeAllowed(); };

    connect(DarkBgButton, &QToolButton::clicked, this, [this] {
        if (!chooseColor)
            return;
        if (const auto c = chooseColor(m_darkBg)) {
            m_darkBg = *c;
            setSwatch(DarkBgShape, *c);
        }
    });
    connect(DarkBgShape, &QToolButton::clicked, DarkBgButton, &QToolButton::click);
    connect(FontButton, &QToolButton::clicked, this, [this] {
        if (!chooseFont)
            return;
        if (const auto f = chooseFont(m_font))
            setFontShown(*f);
    });
    connect(KleurWijzigenButton, &QPushButton::clicked, this, [this] {
        m_ctx.messages().information(m_ctx.texts.text(QStringLiteral("AA00026")));
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TProgInstelForm::setSwatch(QToolButton* swatch, const QColor& color)
{
    swatch->setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: 1px solid black; }")
                              .arg(color.name()));
}

void TProgInstelForm::setFontShown(const QFont& font)
{
    m_font = font;
    FontEdit->setText(font.family() + QLatin1Char(' ') + QString::number(font.pointSize()));
    FontEdit->setFont(font);
}

int TProgInstelForm::execOnPage(Page page)
{
    PageControl1->setCurrentIndex(page);
    return exec();
}

void TProgInstelForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TProgInstelForm::FormActivate()
{
    const ProgramSettings& s = m_ctx.settings;
    CoordsIntervalSpinEdit->setValue(s.coordsInterval);
    ZoomInOutSpinEdit->setValue(s.zoomInOutValue);
    Win9xSpinEdit->setValue(s.arcCorrectionWin9x);
    CSVSepEdit->setText(s.csvSep);
    IncreaseColorSpinEdit->setValue(s.compareIncreaseColor);
    DecreaseColorSpinEdit->setValue(s.compareDecreaseColor);
    ComparePercentCheckBox->setChecked(s.comparePercentages);
    CompareZeroCheckBox->setChecked(s.compareZeroLabels);
    VolumeClassesEdit->setText(s.volumeClasses);
    VolumeShareClassEdit->setText(s.volumeShareClass);
    DrawMethodSpinEdit->setValue(s.drawMethodScreen);
    AutoRedrawCheckBox->setChecked(s.autoRedrawScale);
    Arc22CheckBox->setChecked(s.arc22ArcsAllowed);
    Arc22SpinEdit->setValue(s.arc22ArcsValue);
    UprightCheckBox->setChecked(s.keepTextsUpright);
    NamesClearCheckBox->setChecked(s.placeNamesClear);
    CachedGlyphsCheckBox->setChecked(s.exportCachedGlyphs);
    RingCheckBox->setChecked(s.ringFollowsArms);

    const bool darkAllowed = !darkModeAllowed || darkModeAllowed();
    if (!darkAllowed)
        ThemeLightRadioButton->setChecked(true);
    else if (s.interfaceTheme == 2)
        ThemeLightRadioButton->setChecked(true);
    else if (s.interfaceTheme == 3)
        ThemeDarkRadioButton->setChecked(true);
    else
        ThemeSystemRadioButton->setChecked(true);
    ThemeSystemRadioButton->setEnabled(darkAllowed);
    ThemeDarkRadioButton->setEnabled(darkAllowed);
    m_darkBg = uikit::fromWindowsColor(s.drawingBgDarkColor);
    setSwatch(DarkBgShape, m_darkBg);

    MaxWidthSpinEdit->setValue(s.maxDiagramWidth);
    MaxHeightSpinEdit->setValue(s.maxDiagramHeight);
    QFont font(s.fontNameDefault);
    font.setPointSize(s.fontSizeDefault > 0 ? s.fontSizeDefault : 10);
    setFontShown(font);

    selectOrLast(CopyTypeComboBox, s.copyType);
    CopyFactorSpinEdit->setValue(s.copyFactor);
    CopyPixWidthSpinEdit->setValue(s.copyPixWidth);
    CopyAntiAliasedCheckBox->setChecked(s.copyPixAntiAliased);
    selectOrLast(PrintTypeComboBox, s.printType);
    PrintBmpSizeSpinEdit->setValue(s.printBmpSize);
    PrintColorsComboBox->setCurrentIndex(s.printBmpColors == 0 ? 0 : 1);

    for (int i = 0; i < 16; ++i) {
        m_colors[i] = uikit::fromWindowsColor(s.basicColors[i]);
        setSwatch(colorSwatches[i], m_colors[i]);
    }
    BitBtn1->setFocus();
}

int TProgInstelForm::interfaceThemeChoice() const
{
    if (ThemeLightRadioButton->isChecked())
        return 2;
    if (ThemeDarkRadioButton->isChecked())
        return 3;
    return 1;
}

QColor TProgInstelForm::swatchColor(int index) const { return m_colors.at(index); }
QColor TProgInstelForm::darkBackgroundColor() const { return m_darkBg; }

void TProgInstelForm::BitBtn1Click()
{
    ProgramSettings& s = m_ctx.settings;
    s.coordsInterval = CoordsIntervalSpinEdit->value();
    s.zoomInOutValue = ZoomInOutSpinEdit->value();
    s.arcCorrectionWin9x = Win9xSpinEdit->value();
    s.csvSep = CSVSepEdit->text();
    s.compareIncreaseColor = IncreaseColorSpinEdit->value();
    s.compareDecreaseColor = DecreaseColorSpinEdit->value();
    s.comparePercentages = ComparePercentCheckBox->isChecked();
    s.compareZeroLabels = CompareZeroCheckBox->isChecked();
    s.volumeClasses = VolumeClassesEdit->text().trimmed();
    s.volumeShareClass = VolumeShareClassEdit->text().trimmed();
    // Method 3's smooth reduction is always there, so any of the three
    // stands.
    s.drawMethodScreen = DrawMethodSpinEdit->value();
    s.autoRedrawScale = AutoRedrawCheckBox->isChecked();
    s.arc22ArcsAllowed = Arc22CheckBox->isChecked();
    s.arc22ArcsValue = Arc22SpinEdit->value();
    s.keepTextsUpright = UprightCheckBox->isChecked();
    s.placeNamesClear = NamesClearCheckBox->isChecked();
    s.exportCachedGlyphs = CachedGlyphsCheckBox->isChecked();
    s.ringFollowsArms = RingCheckBox->isChecked();
    s.interfaceTheme = interfaceThemeChoice();
    s.drawingBgDarkColor = uikit::toWindowsColor(m_darkBg);
    s.maxDiagramWidth = MaxWidthSpinEdit->value();
    s.maxDiagramHeight = MaxHeightSpinEdit->value();
    s.fontNameDefault = m_font.family();
    s.fontSizeDefault = m_font.pointSize();
    s.copyType = CopyTypeComboBox->currentText();
    s.copyFactor = CopyFactorSpinEdit->value();
    s.copyPixWidth = CopyPixWidthSpinEdit->value();
    s.copyPixAntiAliased = CopyAntiAliasedCheckBox->isChecked();
    s.printType = PrintTypeComboBox->currentText();
    s.printBmpSize = PrintBmpSizeSpinEdit->value();
    s.printBmpColors = PrintColorsComboBox->currentIndex() == 0 ? 0 : 1;
    for (int i = 0; i < 16; ++i)
        s.basicColors[i] = uikit::toWindowsColor(m_colors[i]);
    if (afterOk)
        afterOk();
    accept();
}

} // namespace korvimo
