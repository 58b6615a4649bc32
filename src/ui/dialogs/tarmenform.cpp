#include "ui/dialogs/tarmenform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <limits>

#include "arms/armsfinish.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/integertext.h"
#include "ui/dialogs/dialoghelpers.h"

namespace korvimo {

namespace {

constexpr int kHelpContext = 180;

QString armName(int i) { return QStringLiteral("Arm%1").arg(i + 1, 2, 10, QLatin1Char('0')); }

// The small compass: where the angles point.
class Compass final : public QWidget {
public:
    explicit Compass(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("KompasImage"));
        setFixedSize(110, 96);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        const QPoint c(width() / 2, height() / 2 + 4);
        const int r = 26;
        p.drawLine(c.x() - r, c.y(), c.x() + r, c.y());
        p.drawLine(c.x(), c.y() - r, c.x(), c.y() + r);
        QFont f = font();
        f.setPointSize(7);
        p.setFont(f);
        const QFontMetrics fm(f);
        auto put = [&](const QString& t, int x, int y) { p.drawText(x, y, t); };
        put(QStringLiteral("0"), c.x() + r + 3, c.y() + fm.ascent() / 2);
        put(QStringLiteral("90"), c.x() - fm.horizontalAdvance(QStringLiteral("90")) / 2, c.y() - r - 2);
        put(QStringLiteral("180"), c.x() - r - 3 - fm.horizontalAdvance(QStringLiteral("180")), c.y() + fm.ascent() / 2);
        put(QStringLiteral("270"), c.x() - fm.horizontalAdvance(QStringLiteral("270")) / 2, c.y() + r + fm.ascent() + 1);
    }
};

QSpinBox* unlimitedSpin(QWidget* parent, const QString& name, int step)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    s->setSingleStep(step);
    // Wide enough for any angle or distance anyone types, not for 2^31.
    s->setFixedWidth(s->fontMetrics().horizontalAdvance(QStringLiteral("-000000")) + 34);
    return s;
}

QComboBox* pointCombo(QWidget* parent, const QString& name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setMinimumContentsLength(4);
    return c;
}

// The first item that equals text exactly; the blank item when none does.
void selectExactly(QComboBox* box, const QString& text)
{
    const int i = text.isEmpty() ? 0 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(i < 0 ? 0 : i);
}

} // namespace

TArmenForm::TArmenForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_doc(doc)
{
    dialogs::frameDialog(*this, "ArmenForm", QStringLiteral("Armen"), kHelpContext);
    const QFont fixed(QStringLiteral("Courier New"));

    m_basis = new QGroupBox(QStringLiteral(" Basis: "), this);
    m_basis->setObjectName(QStringLiteral("BasisGroupBox"));
    auto* basis = new QGridLayout(m_basis);
    CentrumComboBox = pointCombo(m_basis, QStringLiteral("CentrumComboBox"));
    SpinEdit1 = unlimitedSpin(m_basis, QStringLiteral("SpinEdit1"), 1);
    SpinEdit2 = unlimitedSpin(m_basis, QStringLiteral("SpinEdit2"), 1);
    const struct {
        const char* name;
        const char* caption;
        QWidget* field;
    } basisRows[] = {{"CentrumLabel", "Coördinatennummer centrumpunt:", CentrumComboBox},
                     {"Afstand1Label", "Afstand centrumpunt tot armpunt 1:", SpinEdit1},
                     {"Afstand2Label", "Afstand tussen armpunten:", SpinEdit2}};
    int row = 0;
    for (const auto& r : basisRows) {
        auto* label = new QLabel(QString::fromUtf8(r.caption), m_basis);
        label->setObjectName(QString::fromLatin1(r.name));
        label->setBuddy(r.field);
        r.field->setFont(fixed);
        basis->addWidget(label, row, 0);
        basis->addWidget(r.field, row, 1);
        ++row;
    }
    auto* compassGroup = new QGroupBox(QStringLiteral(" Graden: "), m_basis);
    compassGroup->setObjectName(QStringLiteral("GradenGroupBox"));
    auto* compassLayout = new QVBoxLayout(compassGroup);
    compassLayout->setContentsMargins(2, 2, 2, 2);
    compassLayout->addWidget(new Compass(compassGroup));
    basis->addWidget(compassGroup, 0, 2, 3, 1);

    m_arms = new QGroupBox(QStringLiteral(" Definitie armen: "), this);
    m_arms->setObjectName(QStringLiteral("ArmenGroupBox"));
    auto* armsLayout = new QVBoxLayout(m_arms);
    auto* header = new QGridLayout();
    const struct {
        const char* name;
        const char* caption;
        int column;
    } heads[] = {{"Kop1Label", "Coördinatennr.\narmpunt 1", 1},
                 {"Kop2Label", "Coördinatennr.\narmpunt 2", 2},
                 {"Kop3Label", "Hoek t.o.v.\ncentrumpunt", 3}};
    auto* spacer = new QLabel(QString(), m_arms);
    spacer->setFixedWidth(52);
    header->addWidget(spacer, 0, 0);
    for (const auto& h : heads) {
        auto* label = new QLabel(QString::fromUtf8(h.caption), m_arms);
        label->setObjectName(QString::fromLatin1(h.name));
        // A language file gives these headings on one line; they break
        // where they would not fit above their column.
        label->setWordWrap(true);
        header->addWidget(label, 0, h.column);
    }
    header->setColumnStretch(4, 1);
    armsLayout->addLayout(header);

    ScrollBox1 = new QScrollArea(m_arms);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rows = new QWidget(ScrollBox1);
    m_rows->setObjectName(QStringLiteral("ArmRowsPanel"));
    auto* rows = new QGridLayout(m_rows);
    rows->setVerticalSpacing(3);
    for (int i = 0; i < kArmCount; ++i) {
        const QString arm = armName(i);
        auto* label = new QLabel(arm + QLatin1Char(':'), m_rows);
        label->setObjectName(arm + QStringLiteral("Label"));
        label->setFixedWidth(48);
        armPoint1[i] = pointCombo(m_rows, arm + QStringLiteral("ComboBox1"));
        armPoint2[i] = pointCombo(m_rows, arm + QStringLiteral("ComboBox2"));
        armAngle[i] = unlimitedSpin(m_rows, arm + QStringLiteral("SpinEdit1"), 5);
        auto* unit = new QLabel(QStringLiteral("graden"), m_rows);
        unit->setObjectName(arm + QStringLiteral("GradenLabel"));
        for (QWidget* w : {static_cast<QWidget*>(armPoint1[i]), static_cast<QWidget*>(armPoint2[i]),
                           static_cast<QWidget*>(armAngle[i])}) {
            w->setFont(fixed);
            w->setFocusPolicy(Qt::StrongFocus); // the wheel scrolls the rows, it does not change values
            w->installEventFilter(this);
        }
        rows->addWidget(label, i, 0);
        rows->addWidget(armPoint1[i], i, 1);
        rows->addWidget(armPoint2[i], i, 2);
        rows->addWidget(armAngle[i], i, 3);
        rows->addWidget(unit, i, 4);
    }
    rows->setColumnStretch(5, 1);
    ScrollBox1->setWidget(m_rows);
    ScrollBox1->setMinimumWidth(m_rows->sizeHint().width() + ScrollBox1->verticalScrollBar()->sizeHint().width()
                                + 2 * ScrollBox1->frameWidth());
    ScrollBox1->viewport()->installEventFilter(this);
    armsLayout->addWidget(ScrollBox1, 1);

    ShowCoordsButton = new QToolButton(this);
    ShowCoordsButton->setObjectName(QStringLiteral("ShowCoordsButton"));
    ShowCoordsButton->setText(QStringLiteral("0001"));
    ShowCoordsButton->setToolTip(QStringLiteral("Coördinaten tonen"));
    dialogs::makeActionButtons(*this, QStringLiteral("&OK"), kHelpContext, BitBtn1, BitBtn2, HelpButton);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(ShowCoordsButton);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(HelpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_basis);
    layout->addWidget(m_arms, 1);
    layout->addLayout(buttons);
    fitWidthToTexts();

    connect(ShowCoordsButton, &QToolButton::clicked, this, [this] {
        if (toggleCoordinates)
            toggleCoordinates();
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

int TArmenForm::rowHeight() const
{
    const auto* grid = static_cast<QGridLayout*>(m_rows->layout());
    return armPoint1[0]->sizeHint().height() + grid->verticalSpacing();
}

bool TArmenForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        // One notch scrolls the rows by two lines, wherever the pointer is
        // over them.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int notches = wheel->angleDelta().y() / 120;
        if (notches != 0) {
            QScrollBar* bar = ScrollBox1->verticalScrollBar();
            bar->setValue(bar->value() - notches * 2 * rowHeight());
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TArmenForm::fitWidthToTexts()
{
    // 406 x 486 as designed, wider where this desktop's font or the
    // language's texts need it.
    setFixedSize(sizeHint().expandedTo(QSize(406, 486)).width(), 486);
}

void TArmenForm::showEvent(QShowEvent* event)
{
    fitWidthToTexts();
    QDialog::showEvent(event);
    FormActivate();
}

void TArmenForm::setInput(const ArmsWizardInput& in)
{
    // The groups stay hidden while 33 lists fill, so nothing repaints per item.
    m_basis->setUpdatesEnabled(false);
    m_arms->setUpdatesEnabled(false);
    QStringList items{QString()};
    items << in.pointNumbers;
    QList<QComboBox*> boxes{CentrumComboBox};
    for (int i = 0; i < kArmCount; ++i)
        boxes << armPoint1[i] << armPoint2[i];
    for (QComboBox* box : boxes) {
        box->clear();
        box->addItems(items);
    }
    selectExactly(CentrumComboBox, in.center);
    SpinEdit1->setValue(in.distCenterToPoint1);
    SpinEdit2->setValue(in.distBetweenPoints);
    for (int i = 0; i < kArmCount; ++i) {
        selectExactly(armPoint1[i], in.arms[i].point1);
        selectExactly(armPoint2[i], in.arms[i].point2);
        armAngle[i]->setValue(in.arms[i].angle);
    }
    m_basis->setUpdatesEnabled(true);
    m_arms->setUpdatesEnabled(true);
}

ArmsWizardInput TArmenForm::input() const
{
    ArmsWizardInput in;
    for (int i = 1; i < CentrumComboBox->count(); ++i)
        in.pointNumbers << CentrumComboBox->itemText(i);
    in.center = CentrumComboBox->currentText();
    in.distCenterToPoint1 = SpinEdit1->value();
    in.distBetweenPoints = SpinEdit2->value();
    for (int i = 0; i < kArmCount; ++i) {
        in.arms[i].point1 = armPoint1[i]->currentText();
        in.arms[i].point2 = armPoint2[i]->currentText();
        in.arms[i].angle = armAngle[i]->value();
    }
    return in;
}

void TArmenForm::FormActivate()
{
    {
        dialogs::BusyCursor busy;
        QCoreApplication::processEvents();
        setInput(armsWizardLoad(m_doc));
    }
    ScrollBox1->setFocus();
}

void TArmenForm::BitBtn1Click()
{
    try {
        dialogs::BusyCursor busy;
        armsWizardApply(m_doc, input());
        if (armsWizardFinish(m_doc, m_ctx))
            m_doc.markChanged();
    } catch (const ConversionError& e) {
        m_ctx.messages().error(e.text());
        return;
    }
    if (afterApply)
        afterApply();
    accept();
}

} // namespace korvimo
