#include "ui/dialogs/tscriptform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/generalvariables.h"
#include "ui/dialogs/tintensiteitensomform.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/uitext.h"

namespace korvimo {

namespace {

// Page order of the stack; index 0 is the empty type.
const char* const kTypes[] = {"", "*Text", "GRP", "IMG", "LNE", "ARC", "CIR", "TXT", "NTH", "REC", "LEG"};

QStringList textVariables()
{
    QStringList v = {QStringLiteral("Username"), QStringLiteral("Filename")};
    for (int i = 1; i <= 5; ++i)
        v << QStringLiteral("Title%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 1; i <= 16; ++i)
        v << QStringLiteral("Streetname%1").arg(i, 2, 10, QLatin1Char('0'));
    return v;
}

QWidget* page(const char* name, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

template <class W>
W* TScriptForm::reg(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    m_fields.insert(w->objectName(), w);
    return w;
}

TScriptForm::TScriptForm(ProgramContext& ctx, DiagramDocument& doc, TIntensiteitenSomForm& functions,
                         TKleurForm& colours, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc), m_functions(functions), m_colours(colours)
{
    m_building = true;
    setObjectName(QStringLiteral("ScriptForm"));
    setWindowTitle(QStringLiteral("Script"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout();
    m_type = reg(new QComboBox(this), "ScriptTypeComboBox");
    for (const char* t : kTypes)
        m_type->addItem(QString::fromLatin1(t));
    m_type->setMinimumWidth(100);
    top->addWidget(captionLabel("ScriptTypeLabel", QStringLiteral("T&ype:"), m_type, this));
    top->addWidget(m_type);
    top->addSpacing(16);
    m_inactive = reg(new QCheckBox(QStringLiteral("Regel &inactief"), this), "BlokkerenCheckBox");
    top->addWidget(m_inactive);
    top->addStretch(1);
    layout->addLayout(top);

    m_group = reg(new QGroupBox(this), "ElementGroupBox");
    auto* groupLayout = new QVBoxLayout(m_group);
    m_pages = new QStackedWidget(m_group);
    m_pages->setObjectName(QStringLiteral("ElementPages"));
    m_pages->addWidget(page("EmptyPanel", m_pages));
    m_pages->addWidget(buildText());
    m_pages->addWidget(buildGrp());
    m_pages->addWidget(buildImg());
    m_pages->addWidget(buildLne());
    m_pages->addWidget(buildArc());
    m_pages->addWidget(buildCir());
    m_pages->addWidget(buildTxt());
    m_pages->addWidget(buildNth());
    m_pages->addWidget(buildRec());
    m_pages->addWidget(buildLeg());
    groupLayout->addWidget(m_pages);
    layout->addWidget(m_group, 1);

    QGroupBox* previewGroup = reg(new QGroupBox(QStringLiteral(" Scriptregel: "), this), "ScriptRegelGroupBox");
    auto* previewRow = new QHBoxLayout(previewGroup);
    m_preview = reg(new QLineEdit(previewGroup), "ScriptRegelEdit");
    m_preview->setReadOnly(true);
    m_preview->setMinimumWidth(520);
    previewRow->addWidget(m_preview);
    layout->addWidget(previewGroup);

    m_buttons = addDialogButtons(*this, *layout, 440);
    connect(m_buttons.ok, &QPushButton::clicked, this, &TScriptForm::okClicked);
    connect(m_type, &QComboBox::currentIndexChanged, this, &TScriptForm::ScriptTypeComboBoxChange);
    connect(m_inactive, &QCheckBox::toggled, this, &TScriptForm::ScriptRegelUpdaten);

    // Every field rebuilds the preview on every change.
    for (QWidget* w : std::as_const(m_fields)) {
        if (auto* e = qobject_cast<QLineEdit*>(w); e && e != m_preview)
            connect(e, &QLineEdit::textChanged, this, &TScriptForm::ScriptRegelUpdaten);
        else if (auto* c = qobject_cast<QComboBox*>(w); c && c != m_type)
            connect(c, &QComboBox::currentIndexChanged, this, [this] {
                updateSubPanels();
                ScriptRegelUpdaten();
            });
        else if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable() && b != m_inactive)
            connect(b, &QAbstractButton::toggled, this, [this] {
                updateSubPanels();
                ScriptRegelUpdaten();
            });
        else if (auto* s = qobject_cast<QSpinBox*>(w))
            connect(s, &QSpinBox::valueChanged, this, &TScriptForm::ScriptRegelUpdaten);
    }

    pictureFileName = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(this, QString(), QString(), filter);
    };
    m_building = false;
    SubPanelsOnzichtbaarMaken();
}

QComboBox* TScriptForm::pointBox(const char* name, QWidget* parent)
{
    auto* c = reg(new QComboBox(parent), name);
    c->setMinimumWidth(80);
    m_pointBoxes << c;
    return c;
}

QComboBox* TScriptForm::pointField(const char* name, const char* labelName, const QString& caption, QWidget* parent,
                                   QGridLayout* grid, int row, int column)
{
    QComboBox* c = pointBox(name, parent);
    grid->addWidget(captionLabel(labelName, caption, c, parent), row, column);
    grid->addWidget(c, row, column + 1, Qt::AlignLeft);
    return c;
}

QComboBox* TScriptForm::fixedBox(const char* name, const QStringList& entries, QWidget* parent)
{
    auto* c = reg(new QComboBox(parent), name);
    c->addItems(entries);
    return c;
}

QLineEdit* TScriptForm::valueField(const char* name, QWidget* parent, QGridLayout* grid, int row, int column,
                                   const QString& caption)
{
    auto* e = reg(new QLineEdit(parent), name);
    e->setReadOnly(true);
    e->setMinimumWidth(140);
    m_valueFields << e;
    auto* b = reg(new QToolButton(parent), (QByteArray(name) + "Button").constData());
    b->setText(QStringLiteral("..."));
    b->setToolTip(QStringLiteral("Intensiteiten/waarden-functie..."));
    // The label's accelerator reaches the button: the field itself only
    // changes through the function dialog.
    grid->addWidget(captionLabel((QByteArray(name) + "Label").constData(), caption, b, parent), row, column);
    auto* cell = new QHBoxLayout();
    cell->addWidget(e, 1);
    cell->addWidget(b);
    grid->addLayout(cell, row, column + 1);
    connect(b, &QToolButton::clicked, this, [this, e] { valueButton(e); });
    return e;
}

QLineEdit* TScriptForm::colourField(const char* name, QWidget* parent, QGridLayout* grid, int row, int column,
                                    const QString& caption)
{
    auto* e = reg(new QLineEdit(QStringLiteral("0"), parent), name);
    e->setReadOnly(true);
    e->setMinimumWidth(90);
    auto* swatch = new QLabel(parent);
    swatch->setObjectName(QString::fromLatin1(name) + QStringLiteral("Shape"));
    swatch->setFixedSize(22, 18);
    swatch->setStyleSheet(colourSwatchStyle(0));
    auto* b = reg(new QPushButton(QStringLiteral("Kleur"), parent), (QByteArray(name) + "Button").constData());
    b->setAutoDefault(false);
    grid->addWidget(captionLabel((QByteArray(name) + "Label").constData(), caption, b, parent), row, column);
    auto* cell = new QHBoxLayout();
    cell->addWidget(e, 1);
    cell->addWidget(swatch);
    cell->addWidget(b);
    grid->addLayout(cell, row, column + 1);
    const QString key = QString::fromLatin1(name);
    m_colourFields.insert(key, {e, swatch});
    connect(b, &QPushButton::clicked, this, [this, key] { colourButton(key); });
    return e;
}

QWidget* TScriptForm::buildText()
{
    QWidget* p = page("TextPanel", m_pages);
    auto* grid = new QGridLayout(p);
    auto* e = reg(new QLineEdit(p), "TextEdit1");
    grid->addWidget(captionLabel("TextLabel1", QStringLiteral("Tekst (aantekening in script):"), e, p), 0, 0);
    grid->addWidget(e, 1, 0);
    grid->setRowStretch(2, 1);
    return p;
}

QWidget* TScriptForm::buildGrp()
{
    QWidget* p = page("GRPPanel", m_pages);
    auto* grid = new QGridLayout(p);
    QStringList groups = {QString()};
    for (int g = 0; g < kDrawingGroupCount; ++g)
        groups << drawingGroupName(static_cast<DrawingGroup>(g));
    QComboBox* c = fixedBox("GRPComboBox1", groups, p);
    grid->addWidget(captionLabel("GRPLabel1", QStringLiteral("&Groep:"), c, p), 0, 0);
    grid->addWidget(c, 0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);
    return p;
}

QWidget* TScriptForm::buildImg()
{
    QWidget* p = page("IMGPanel", m_pages);
    auto* grid = new QGridLayout(p);
    auto* bmp = reg(new QRadioButton(QStringLiteral("&BMP"), p), "BmpRadioButton");
    auto* wmf = reg(new QRadioButton(QStringLiteral("&WMF/EMF"), p), "WmfRadioButton");
    bmp->setChecked(true);
    auto* kinds = new QHBoxLayout();
    kinds->addWidget(bmp);
    kinds->addWidget(wmf);
    kinds->addStretch(1);
    grid->addLayout(kinds, 0, 0, 1, 2);
    QComboBox* at = pointBox("BMPCoordsComboBox", p);
    grid->addWidget(captionLabel("BMPLabel1", QStringLiteral("Figuur invoegen vanaf &co\u00f6rdinatennummer:"), at, p),
                    1, 0);
    grid->addWidget(at, 1, 1);
    auto* file = reg(new QLineEdit(p), "BMPEdit1");
    file->setMinimumWidth(260);
    auto* browse = reg(new QToolButton(p), "BMPButton");
    browse->setText(QStringLiteral("..."));
    grid->addWidget(captionLabel("BMPLabel2", QStringLiteral("Bestands&naam:"), file, p), 2, 0);
    auto* fileRow = new QHBoxLayout();
    fileRow->addWidget(file, 1);
    fileRow->addWidget(browse);
    grid->addLayout(fileRow, 2, 1);
    QSpinBox* scale = reg(numberField("BMPSpinEdit1", p), "BMPSpinEdit1");
    scale->setValue(1000);
    grid->addWidget(captionLabel("BMPLabel3", QStringLiteral("Sc&haal:"), scale, p), 3, 0);
    auto* scaleRow = new QHBoxLayout();
    scaleRow->addWidget(scale);
    scaleRow->addWidget(captionLabel("BMPLabel4", QStringLiteral("% (Schaal / 10)"), nullptr, p));
    scaleRow->addStretch(1);
    grid->addLayout(scaleRow, 3, 1);
    grid->setRowStretch(4, 1);
    connect(browse, &QToolButton::clicked, this, &TScriptForm::browsePicture);
    return p;
}

QWidget* TScriptForm::buildLne()
{
    QWidget* p = page("LNEPanel", m_pages);
    auto* grid = new QGridLayout(p);
    pointField("LNEComboBox1", "LNELabel1", QStringLiteral("Vanaf &co\u00f6rdinatennummer:"), p, grid, 0, 0);
    pointField("LNEComboBox2", "LNELabel2", QStringLiteral("Naar co\u00f6&rdinatennummer:"), p, grid, 1, 0);
    valueField("LNEEdit1", p, grid, 2, 0, QStringLiteral("A&fstand tot co\u00f6rdinaten:"));
    valueField("LNEEdit2", p, grid, 3, 0, QStringLiteral("&Breedte:"));
    colourField("LNEColorEdit", p, grid, 4, 0, QStringLiteral("Kleur:"));
    auto* a1 = reg(new QCheckBox(QStringLiteral("&Pijl aan begin"), p), "LNECheckBox1");
    auto* a2 = reg(new QCheckBox(QStringLiteral("Pijl aan &eind"), p), "LNECheckBox2");
    a1->setChecked(true);
    a2->setChecked(true);
    grid->addWidget(a1, 5, 1);
    grid->addWidget(a2, 6, 1);
    grid->setRowStretch(7, 1);
    return p;
}

QWidget* TScriptForm::buildArc()
{
    QWidget* p = page("ARCPanel", m_pages);
    auto* grid = new QGridLayout(p);
    const char* boxes[] = {"ARCComboBox1", "ARCComboBox2", "ARCComboBox3", "ARCComboBox4"};
    for (int part = 0; part < 2; ++part) {
        const int c = part * 2;
        grid->addWidget(captionLabel(part == 0 ? "ARCDeel1Label" : "ARCDeel2Label",
                                     part == 0 ? QStringLiteral("Deel 1:") : QStringLiteral("Deel 2:"), nullptr, p),
                        0, c);
        pointField(boxes[part * 2], part == 0 ? "ARCLabel1" : "ARCLabel3",
                   QStringLiteral("Vanaf &co\u00f6rdinatennummer:"), p, grid, 1, c);
        pointField(boxes[part * 2 + 1], part == 0 ? "ARCLabel2" : "ARCLabel4",
                   QStringLiteral("Naar co\u00f6&rdinatennummer:"), p, grid, 2, c);
    }
    valueField("ARCEdit1", p, grid, 3, 0, QStringLiteral("A&fstand tot co\u00f6rdinaten deel 1:"));
    valueField("ARCEdit2", p, grid, 3, 2, QStringLiteral("A&fstand tot co\u00f6rdinaten deel 2:"));
    valueField("ARCEdit4", p, grid, 4, 0, QStringLiteral("&Breedte:"));
    colourField("ARCEdit3", p, grid, 5, 0, QStringLiteral("Kleur:"));
    QComboBox* curve = fixedBox("ARCComboBox5", {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, p);
    grid->addWidget(captionLabel("ARCLabel5", QStringLiteral("C&urve:"), curve, p), 6, 0);
    auto* curveRow = new QHBoxLayout();
    curveRow->addWidget(curve);
    curveRow->addWidget(captionLabel("ARCLabel6", QStringLiteral("(default = A)"), nullptr, p));
    curveRow->addStretch(1);
    grid->addLayout(curveRow, 6, 1);
    auto* a1 = reg(new QCheckBox(QStringLiteral("&Pijl aan begin"), p), "ARCCheckBox1");
    auto* a2 = reg(new QCheckBox(QStringLiteral("Pijl aan &eind"), p), "ARCCheckBox2");
    a1->setChecked(true);
    a2->setChecked(true);
    grid->addWidget(a1, 7, 1);
    grid->addWidget(a2, 8, 1);
    grid->setRowStretch(9, 1);
    return p;
}

QWidget* TScriptForm::buildCir()
{
    QWidget* p = page("CIRPanel", m_pages);
    auto* grid = new QGridLayout(p);
    pointField("CIRComboBox1", "CIRLabel1", QStringLiteral("Co\u00f6rdinatennummer &centrum cirkel:"), p, grid, 0, 0);
    valueField("CIREdit1", p, grid, 1, 0, QStringLiteral("Straa&l:"));
    QComboBox* type = fixedBox("CIRComboBox2", {QStringLiteral("S"), QStringLiteral("F")}, p);
    grid->addWidget(captionLabel("CIRLabel2", QStringLiteral("Typ&e:"), type, p), 2, 0);
    auto* typeRow = new QHBoxLayout();
    typeRow->addWidget(type);
    typeRow->addWidget(
        captionLabel("CIRLabel3", QStringLiteral("S=Slice (gedeelte), F=Full (volledige cirkel)"), nullptr, p));
    typeRow->addStretch(1);
    grid->addLayout(typeRow, 2, 1);

    m_cirSlice = page("CIRSlicePanel", p);
    auto* slice = new QGridLayout(m_cirSlice);
    slice->setContentsMargins(0, 0, 0, 0);
    const char* boxes[] = {"CIRComboBox3", "CIRComboBox4", "CIRComboBox5", "CIRComboBox6"};
    const char* values[] = {"CIREdit2", "CIREdit3", "CIREdit4", "CIREdit5"};
    const char* labels[] = {"CIRLabel4", "CIRLabel5", "CIRLabel6", "CIRLabel7"};
    for (int part = 0; part < 2; ++part) {
        const int c = part * 2;
        slice->addWidget(captionLabel(part == 0 ? "CIRDeel1Label" : "CIRDeel2Label",
                                      part == 0 ? QStringLiteral("Deel 1:") : QStringLiteral("Deel 2:"), nullptr,
                                      m_cirSlice),
                         0, c);
        pointField(boxes[part * 2], labels[part * 2], QStringLiteral("Vanaf co\u00f6rdinatennummer:"), m_cirSlice, slice,
                   1, c);
        pointField(boxes[part * 2 + 1], labels[part * 2 + 1], QStringLiteral("Naar co\u00f6rdinatennummer:"), m_cirSlice,
                   slice, 2, c);
        valueField(values[part * 2], m_cirSlice, slice, 3, c, QStringLiteral("A&fstand:"));
        valueField(values[part * 2 + 1], m_cirSlice, slice, 4, c, QStringLiteral("&Breedte:"));
    }
    grid->addWidget(m_cirSlice, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return p;
}

QWidget* TScriptForm::buildTxt()
{
    QWidget* p = page("TXTPanel", m_pages);
    auto* grid = new QGridLayout(p);
    auto* one = reg(new QRadioButton(QStringLiteral("&1 Referentiepunt:"), p), "TXTRadioButton1");
    auto* two = reg(new QRadioButton(QStringLiteral("&2 Referentiepunten:"), p), "TXTRadioButton2");
    one->setChecked(true);
    auto* positions = new QButtonGroup(p);
    positions->addButton(one);
    positions->addButton(two);
    grid->addWidget(one, 0, 0);
    grid->addWidget(pointBox("TXTComboBox1", p), 0, 1, Qt::AlignLeft);
    grid->addWidget(two, 1, 0);
    auto* pair = new QHBoxLayout();
    pair->addWidget(pointBox("TXTComboBox2", p));
    pair->addWidget(pointBox("TXTComboBox3", p));
    QComboBox* anchor = fixedBox("TXTComboBox8", {QStringLiteral("1"), QStringLiteral("C"), QStringLiteral("2")}, p);
    pair->addWidget(captionLabel("TXTLabel8", QStringLiteral("Start:"), anchor, p));
    pair->addWidget(anchor);
    pair->addStretch(1);
    grid->addLayout(pair, 1, 1);
    valueField("TXTEdit4", p, grid, 2, 0, QStringLiteral("Verplaats in X-richting:"));
    valueField("TXTEdit5", p, grid, 3, 0, QStringLiteral("Verplaats in Y-richting:"));
    QSpinBox* rotation = reg(numberField("TXTSpinEdit1", p), "TXTSpinEdit1");
    grid->addWidget(captionLabel("TXTLabel1", QStringLiteral("Tekst &roteren:"), rotation, p), 4, 0);
    auto* rotRow = new QHBoxLayout();
    rotRow->addWidget(rotation);
    rotRow->addWidget(captionLabel("TXTLabel2", QStringLiteral("graden"), nullptr, p));
    rotRow->addStretch(1);
    grid->addLayout(rotRow, 4, 1);

    auto* alignRow = new QHBoxLayout();
    auto* aligns = new QButtonGroup(p);
    const struct {
        const char* name;
        const char* caption;
    } alignButtons[] = {{"TXTRadioButton3", "&Links"}, {"TXTRadioButton4", "&Centreren"}, {"TXTRadioButton5", "Rec&hts"}};
    for (const auto& a : alignButtons) {
        auto* b = reg(new QRadioButton(QString::fromLatin1(a.caption), p), a.name);
        aligns->addButton(b);
        alignRow->addWidget(b);
    }
    static_cast<QRadioButton*>(m_fields.value(QStringLiteral("TXTRadioButton3")))->setChecked(true);
    alignRow->addSpacing(12);
    const struct {
        const char* name;
        const char* caption;
    } styles[] = {{"TXTCheckBox1", "&Bold"}, {"TXTCheckBox2", "Cursie&f"}, {"TXTCheckBox3", "Ond&erstreept"}};
    for (const auto& s : styles)
        alignRow->addWidget(reg(new QCheckBox(QString::fromLatin1(s.caption), p), s.name));
    alignRow->addStretch(1);
    grid->addLayout(alignRow, 5, 0, 1, 2);

    QSpinBox* size = reg(numberField("TXTSpinEdit2", p), "TXTSpinEdit2");
    size->setValue(100);
    grid->addWidget(captionLabel("TXTLabel3", QStringLiteral("Lettergroo&tte:"), size, p), 6, 0);
    auto* sizeRow = new QHBoxLayout();
    sizeRow->addWidget(size);
    sizeRow->addWidget(captionLabel("TXTLabel4", QStringLiteral("%"), nullptr, p));
    sizeRow->addStretch(1);
    grid->addLayout(sizeRow, 6, 1);
    colourField("TXTEdit1", p, grid, 7, 0, QStringLiteral("Kleur:"));

    m_txtContent = reg(new QGroupBox(p), "TXTContentGroupBox");
    auto* content = new QGridLayout(m_txtContent);
    QComboBox* kind = fixedBox("TXTComboBox6", {QStringLiteral("V"), QStringLiteral("I"), QStringLiteral("T")},
                               m_txtContent);
    content->addWidget(kind, 0, 0);
    QComboBox* variable = fixedBox("TXTComboBox7", textVariables(), m_txtContent);
    content->addWidget(variable, 0, 1);
    auto* intensity = new QWidget(m_txtContent);
    intensity->setObjectName(QStringLiteral("TXTIntensityPanel"));
    auto* intensityGrid = new QGridLayout(intensity);
    intensityGrid->setContentsMargins(0, 0, 0, 0);
    valueField("TXTEdit2", intensity, intensityGrid, 0, 0, QString());
    content->addWidget(intensity, 1, 1);
    auto* freeText = reg(new QLineEdit(m_txtContent), "TXTEdit3");
    freeText->setMinimumWidth(240);
    content->addWidget(freeText, 2, 1);
    content->setColumnStretch(1, 1);
    grid->addWidget(m_txtContent, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    return p;
}

QWidget* TScriptForm::buildNth()
{
    QWidget* p = page("NTHPanel", m_pages);
    auto* grid = new QGridLayout(p);
    pointField("NTHComboBox1", "NTHLabel1", QStringLiteral("&Co\u00f6rdinatennummer centrum noordpijl:"), p, grid, 0, 0);
    QSpinBox* size = reg(numberField("NTHSpinEdit1", p, 0, 999999999), "NTHSpinEdit1");
    size->setValue(20);
    grid->addWidget(captionLabel("NTHLabel2", QStringLiteral("&Grootte:"), size, p), 1, 0);
    grid->addWidget(size, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);
    return p;
}

QWidget* TScriptForm::buildRec()
{
    QWidget* p = page("RECPanel", m_pages);
    auto* grid = new QGridLayout(p);
    pointField("RECComboBox1", "RECLabel1", QStringLiteral("Vanaf &co\u00f6rdinatennummer:"), p, grid, 0, 0);
    pointField("RECComboBox2", "RECLabel2", QStringLiteral("Naar co\u00f6&rdinatennummer:"), p, grid, 1, 0);
    colourField("RECColorEdit1", p, grid, 2, 0, QStringLiteral("Kleur begin:"));
    colourField("RECColorEdit2", p, grid, 3, 0, QStringLiteral("Kleur eind:"));
    grid->setRowStretch(4, 1);
    return p;
}

QWidget* TScriptForm::buildLeg()
{
    QWidget* p = page("LEGPanel", m_pages);
    auto* grid = new QGridLayout(p);
    pointField("LEGComboBox1", "LEGLabel1", QStringLiteral("Vanaf &co\u00f6rdinatennummer:"), p, grid, 0, 0);
    QSpinBox* volume = reg(numberField("LEGSpinEdit1", p, 1, 999999999), "LEGSpinEdit1");
    volume->setValue(500);
    grid->addWidget(captionLabel("LEGLabel2", QStringLiteral("Inten&siteit:"), volume, p), 1, 0);
    grid->addWidget(volume, 1, 1, Qt::AlignLeft);
    colourField("LEGColorEdit", p, grid, 2, 0, QStringLiteral("Kleur:"));
    QSpinBox* length = reg(numberField("LEGSpinEdit2", p, 1, 999999999), "LEGSpinEdit2");
    length->setValue(40);
    grid->addWidget(captionLabel("LEGLabel3", QStringLiteral("&Lengte:"), length, p), 3, 0);
    grid->addWidget(length, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);
    return p;
}

void TScriptForm::prepare(Mode mode, int selectedRow)
{
    m_mode = mode;
    m_selected = selectedRow;
}

void TScriptForm::startAdd()
{
    const QSignalBlocker block(m_type);
    m_type->setCurrentIndex(0);
    SubPanelsOnzichtbaarMaken();
}

void TScriptForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_buttons.ok->setFocus();
}

} // namespace korvimo
