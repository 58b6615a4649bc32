#include "ui/dialogs/topmaakform.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/generalvariables.h"
#include "ui/dialogs/dialoghelpers.h"
#include "ui/uitext.h"
#include "uikit/theme.h"

namespace korvimo {

namespace {

constexpr int kBig = 999999999;

const char* const kGroupDescriptions[kDrawingGroupCount] = {
    "(Kader)",           "(Kruispuntlijnen)", "(Achtergrond)", "(Logo)",          "(Ingaande intensiteiten)",
    "(Uitgaande intensiteiten)", "(Ingaande I totaal)", "(Uitgaande I totaal)", "(Tussenintensiteiten 1)",
    "(Tussenintensiteiten 2)", "(Totale intensiteit)", "(Teksten)", "(Bestandsnaam)", "(Namen)",
    "(Objecten1)",       "(Objecten2)",       "(Diagram1)",    "(Diagram2)",      "(Noordpijl)",
    "(Legenda)"};

QString groupObjectName(int g)
{
    return QStringLiteral("GRPCheckBox") + drawingGroupName(static_cast<DrawingGroup>(g)).remove(QLatin1Char('-'));
}

// Halves to the even neighbour, as everywhere the program rounds.
int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

TOpmaakForm::TOpmaakForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc)
{
    setObjectName(QStringLiteral("OpmaakForm"));
    setWindowTitle(QStringLiteral("Opmaak"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("OpmaakPageControl"));
    m_tabs->addTab(generalTab(), QStringLiteral("Algemeen"));
    m_tabs->addTab(textsTab(), QStringLiteral("Teksten"));
    m_tabs->addTab(groupsTab(), QStringLiteral("Groepen"));
    m_tabs->addTab(coloursTab(), QStringLiteral("Kleuren"));
    layout->addWidget(m_tabs);
    m_buttons = addDialogButtons(*this, *layout, 200);
    connect(m_buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    for (QSpinBox* s : findChildren<QSpinBox*>())
        connect(s, &QSpinBox::valueChanged, this, &TOpmaakForm::markFieldChanged);
    for (QCheckBox* c : findChildren<QCheckBox*>())
        connect(c, &QCheckBox::toggled, this, &TOpmaakForm::markFieldChanged);

    chooseFont = [this](const QFont& current) { return dialogs::chooseSystemFont(current, this); };
    chooseColour = [this](int current) { return dialogs::BepaalKleur(current, this); };
}

void TOpmaakForm::markFieldChanged()
{
    if (!m_loading)
        m_changed = true;
}

QWidget* TOpmaakForm::generalTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("AlgemeenTabSheet"));
    auto* col = new QVBoxLayout(tab);

    QGroupBox* flows = groupBox("StromenGroupBox", QStringLiteral(" Stromen: "), tab);
    auto* g = new QGridLayout(flows);
    m_scale = numberField("SchaalSpinEdit", flows, 0, kBig);
    m_scale->setSingleStep(50);
    g->addWidget(captionLabel("SchaalLabel", QStringLiteral("&Schaal:"), m_scale, flows), 0, 0);
    g->addWidget(m_scale, 0, 1);
    m_lineWidth = numberField("LijndikteSpinEdit", flows, 0, kBig);
    g->addWidget(captionLabel("LijndikteLabel", QStringLiteral("Lijn&dikte:"), m_lineWidth, flows), 1, 0);
    g->addWidget(m_lineWidth, 1, 1);
    g->addWidget(captionLabel("LijndikteNoteLabel", QStringLiteral("(default = 3)"), nullptr, flows), 1, 2);
    m_arrow = numberField("PijlgrootteSpinEdit", flows, -kBig, kBig);
    g->addWidget(captionLabel("PijlgrootteLabel", QStringLiteral("&Pijlgrootte:"), m_arrow, flows), 2, 0);
    g->addWidget(m_arrow, 2, 1);
    g->addWidget(captionLabel("PijlgrootteNoteLabel", QStringLiteral("< 0 = linksrijdend"), nullptr, flows), 2, 2);
    m_intMin = numberField("IntMinSpinEdit", flows, 0, kBig);
    g->addWidget(captionLabel("IntMinLabel", QStringLiteral("Niet tonen als &intensiteit lager is dan"), m_intMin,
                              flows),
                 3, 0);
    g->addWidget(m_intMin, 3, 1);
    g->setColumnStretch(3, 1);
    col->addWidget(flows);

    QGroupBox* diagram = groupBox("DiagramGroupBox", QStringLiteral(" Diagram: "), tab);
    auto* d = new QGridLayout(diagram);
    m_width = numberField("BreedteSpinEdit", diagram, 0, 1500);
    m_width->setSingleStep(50);
    d->addWidget(captionLabel("BreedteLabel", QStringLiteral("&Breedte:"), m_width, diagram), 0, 0);
    d->addWidget(m_width, 0, 1);
    d->addWidget(captionLabel("BreedteUnitLabel", QStringLiteral("pixels"), nullptr, diagram), 0, 2);
    m_height = numberField("HoogteSpinEdit", diagram, 0, 1500);
    m_height->setSingleStep(50);
    d->addWidget(captionLabel("HoogteLabel", QStringLiteral("&Hoogte:"), m_height, diagram), 1, 0);
    d->addWidget(m_height, 1, 1);
    d->addWidget(captionLabel("HoogteUnitLabel", QStringLiteral("pixels"), nullptr, diagram), 1, 2);
    d->setColumnStretch(3, 1);
    col->addWidget(diagram);

    QGroupBox* north = groupBox("NoordpijlGroupBox", QStringLiteral(" Noordpijl: "), tab);
    auto* n = new QGridLayout(north);
    m_north = numberField("NoordenSpinEdit", north);
    m_north->setSingleStep(5);
    n->addWidget(captionLabel("NoordenLabel", QStringLiteral("&Noorden:"), m_north, north), 0, 0);
    n->addWidget(m_north, 0, 1);
    n->addWidget(captionLabel("NoordenUnitLabel", QStringLiteral("graden"), nullptr, north), 0, 2);
    n->setColumnStretch(3, 1);
    col->addWidget(north);
    col->addStretch(1);
    return tab;
}

QWidget* TOpmaakForm::textsTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TekstenTabSheet"));
    auto* col = new QVBoxLayout(tab);
    QGroupBox* font = groupBox("LettertypeGroupBox", QStringLiteral(" Lettertype: "), tab);
    auto* row = new QHBoxLayout(font);
    m_font = new QLineEdit(font);
    m_font->setObjectName(QStringLiteral("FontEdit"));
    m_font->setReadOnly(true);
    m_font->setMinimumWidth(220);
    auto* button = new QPushButton(QStringLiteral("Lettertype"), font);
    button->setObjectName(QStringLiteral("FontButton"));
    button->setAutoDefault(false);
    row->addWidget(m_font, 1);
    row->addWidget(button);
    col->addWidget(font);
    connect(button, &QPushButton::clicked, this, [this] {
        if (!chooseFont)
            return;
        if (const std::optional<QFont> f = chooseFont(m_fontValue)) {
            setFontField(*f);
            markFieldChanged();
        }
    });

    QGroupBox* volume = groupBox("IntensiteitGroupBox", QStringLiteral(" Intensiteit: "), tab);
    auto* g = new QGridLayout(volume);
    m_intMinNumber = numberField("IntMinNumberSpinEdit", volume, 0, kBig);
    g->addWidget(captionLabel("IntMinNumberLabel",
                              QStringLiteral("Intensiteit (getal) niet tonen als &intensiteit lager is dan"),
                              m_intMinNumber, volume),
                 0, 0);
    g->addWidget(m_intMinNumber, 0, 1);
    g->setColumnStretch(2, 1);
    col->addWidget(volume);
    col->addStretch(1);
    return tab;
}

QWidget* TOpmaakForm::groupsTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("GroepenTabSheet"));
    auto* col = new QVBoxLayout(tab);
    QGroupBox* groups = groupBox("GroepenGroupBox", QStringLiteral(" Groepen actief (GRP): "), tab);
    auto* groupsLayout = new QVBoxLayout(groups);
    auto* scroll = new QScrollArea(groups);
    scroll->setObjectName(QStringLiteral("GroepenScrollBox"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* inner = new QWidget(scroll);
    inner->setObjectName(QStringLiteral("GroepenPanel"));
    auto* g = new QGridLayout(inner);
    for (int i = 0; i < kDrawingGroupCount; ++i) {
        m_groups[i] = new QCheckBox(drawingGroupName(static_cast<DrawingGroup>(i)), inner);
        m_groups[i]->setObjectName(groupObjectName(i));
        auto* desc = new QLabel(QString::fromUtf8(kGroupDescriptions[i]), inner);
        desc->setObjectName(groupObjectName(i).replace(QStringLiteral("CheckBox"), QStringLiteral("Label")));
        g->addWidget(m_groups[i], i, 0);
        g->addWidget(desc, i, 1);
    }
    g->setColumnStretch(2, 1);
    scroll->setWidget(inner);
    scroll->setMinimumHeight(260);
    groupsLayout->addWidget(scroll);
    col->addWidget(groups);
    return tab;
}

QWidget* TOpmaakForm::coloursTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("KleurenTabSheet"));
    auto* col = new QVBoxLayout(tab);
    QGroupBox* colours = groupBox("StandaardKleurenGroupBox", QStringLiteral(" Standaard kleuren: "), tab);
    auto* g = new QGridLayout(colours);
    for (int i = 0; i < 16; ++i) {
        const QString n = QStringLiteral("Color%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        auto* label = new QLabel(n + QLatin1Char(':'), colours);
        label->setObjectName(n + QStringLiteral("Label"));
        m_swatches[i] = new QLabel(colours);
        m_swatches[i]->setObjectName(n + QStringLiteral("Shape"));
        m_swatches[i]->setFixedSize(36, 18);
        m_swatches[i]->installEventFilter(this);
        m_swatches[i]->setCursor(Qt::PointingHandCursor);
        const int r = i % 8, c = (i / 8) * 2;
        g->addWidget(label, r, c);
        g->addWidget(m_swatches[i], r, c + 1);
    }
    auto* change = new QPushButton(QStringLiteral("&Kleur wijzigen..."), colours);
    change->setObjectName(QStringLiteral("KleurWijzigenButton"));
    change->setAutoDefault(false);
    g->addWidget(change, 8, 0, 1, 4, Qt::AlignLeft);
    g->setColumnStretch(4, 1);
    connect(change, &QPushButton::clicked, this, [this] {
        m_ctx.messages().information(uiText(m_ctx.texts, "AA00026",
                                            QStringLiteral("Klik op het gekleurde vakje om de kleur te wijzigen.")));
    });
    col->addWidget(colours);

    QGroupBox* flows = groupBox("KleurStromenGroupBox", QStringLiteral(" Stromen: "), tab);
    auto* f = new QVBoxLayout(flows);
    m_sfill = new QCheckBox(QStringLiteral("Stromen &inkleuren"), flows);
    m_sfill->setObjectName(QStringLiteral("SfillCheckBox"));
    m_sblackline = new QCheckBox(QStringLiteral("Stroomranden &zwart"), flows);
    m_sblackline->setObjectName(QStringLiteral("SblacklineCheckBox"));
    m_sblack = new QCheckBox(QStringLiteral("Stromen zwart/&wit"), flows);
    m_sblack->setObjectName(QStringLiteral("SblackCheckBox"));
    f->addWidget(m_sfill);
    f->addWidget(m_sblackline);
    f->addWidget(m_sblack);
    col->addWidget(flows);
    col->addStretch(1);
    return tab;
}

void TOpmaakForm::setFontField(const QFont& font)
{
    m_fontValue = font;
    const int size = font.pointSize() > 0 ? font.pointSize() : 10;
    m_font->setText(font.family() + QLatin1Char(' ') + QString::number(size));
    QFont shown(font.family());
    shown.setPointSize(qBound(6, size, 16));
    m_font->setFont(shown);
}

void TOpmaakForm::setSwatch(int index, int colour)
{
    m_colours[index] = colour;
    m_swatches[index]->setStyleSheet(colourSwatchStyle(colour));
}

bool TOpmaakForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 16; ++i) {
            if (watched != m_swatches[i])
                continue;
            // BepaalKleur: the system colour dialog, preset with the swatch.
            if (chooseColour) {
                if (const std::optional<int> c = chooseColour(m_colours[i])) {
                    setSwatch(i, *c);
                    markFieldChanged();
                }
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOpmaakForm::load()
{
    BusyCursor busy;
    m_loading = true;
    const GeneralVariables& g = m_doc.general;
    // The maxima first, so that a size above them shows as the maximum.
    m_width->setMaximum(m_ctx.settings.maxDiagramWidth);
    m_height->setMaximum(m_ctx.settings.maxDiagramHeight);
    m_scale->setValue(g.sfactor);
    m_lineWidth->setValue(g.linewidth);
    m_arrow->setValue(roundHalfEven(g.arrowsize / 10.0));
    m_intMin->setValue(g.intmin);
    m_width->setValue(g.diagramwidth);
    m_height->setValue(g.diagramheight);
    m_north->setValue(g.northnorth);
    QFont f(g.fontname);
    f.setPointSize(g.fontsize > 0 ? g.fontsize : 10);
    setFontField(f);
    m_intMinNumber->setValue(g.intminnumber);
    for (int i = 0; i < kDrawingGroupCount; ++i)
        m_groups[i]->setChecked(g.grp[i]);
    for (int i = 0; i < 16; ++i)
        setSwatch(i, g.color[i]);
    m_sfill->setChecked(g.sfill);
    m_sblackline->setChecked(g.sblackline);
    m_sblack->setChecked(g.sblack);
    m_loading = false;
    m_changed = false;
}

bool TOpmaakForm::store()
{
    GeneralVariables& g = m_doc.general;
    g.sfactor = m_scale->value();
    g.linewidth = m_lineWidth->value();
    g.arrowsize = m_arrow->value() * 10.0;
    g.intmin = m_intMin->value();
    g.diagramwidth = m_width->value();
    g.diagramheight = m_height->value();
    g.northnorth = m_north->value();
    g.fontname = m_fontValue.family();
    g.fontsize = m_fontValue.pointSize() > 0 ? m_fontValue.pointSize() : g.fontsize;
    g.intminnumber = m_intMinNumber->value();
    for (int i = 0; i < kDrawingGroupCount; ++i)
        g.grp[i] = m_groups[i]->isChecked();
    for (int i = 0; i < 16; ++i)
        g.color[i] = m_colours[i];
    g.sfill = m_sfill->isChecked();
    g.sblackline = m_sblackline->isChecked();
    g.sblack = m_sblack->isChecked();
    return m_changed;
}

void TOpmaakForm::showEvent(QShowEvent* event)
{
    load();
    QDialog::showEvent(event);
    m_buttons.ok->setFocus();
}

} // namespace korvimo
