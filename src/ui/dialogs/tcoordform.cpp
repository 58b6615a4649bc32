#include "ui/dialogs/tcoordform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "uikit/icons.h"

namespace korvimo {

TCoordForm::TCoordForm(ProgramContext& ctx, QWidget* parent)
    : NumberedLineForm(ctx, "CoordForm", QStringLiteral("Co\u00f6rdinaten"), QStringLiteral("&Co\u00f6rdinaten"),
                       "Coord", "CoordGroupBox", QStringLiteral(" Co\u00f6rdinaten: "), 400, parent)
{
    QGridLayout* grid = fieldGrid();
    QWidget* group = numberedGroup();
    m_x = numberField("CoordXSpinEdit", group);
    m_y = numberField("CoordYSpinEdit", group);
    grid->addWidget(captionLabel("XLabel", QStringLiteral("&X:"), m_x, group), 1, 0);
    grid->addWidget(m_x, 1, 1);
    grid->addWidget(captionLabel("YLabel", QStringLiteral("&Y:"), m_y, group), 2, 0);
    grid->addWidget(m_y, 2, 1);
    m_select = new QToolButton(group);
    m_select->setObjectName(QStringLiteral("CoordSelectButton"));
    m_select->setIcon(uikit::programIcon(QStringLiteral("coordinates")));
    m_select->setIconSize(QSize(18, 18));
    m_select->setToolTip(QStringLiteral("Co\u00f6rdinaten bepalen via klik op tekening"));
    grid->addWidget(m_select, 1, 2, 2, 1, Qt::AlignVCenter);
    connect(m_select, &QToolButton::clicked, this, [this] { done(kPickResult); });
    finishLayout();
    setTabOrder(numberEdit(), m_x);
    setTabOrder(m_x, m_y);
    setTabOrder(m_y, m_select);
}

void TCoordForm::fillFromLine(const QString& line)
{
    BusyCursor busy;
    const NumberedLine l = readCoordinateLine(line);
    fillCommon(l);
    if (l.isText)
        return;
    m_x->setValue(l.first);
    m_y->setValue(l.second);
}

void TCoordForm::setPosition(int x, int y)
{
    m_x->setValue(x);
    m_y->setValue(y);
}

QStringList TCoordForm::valueFields() const
{
    return {QString::number(m_x->value()), QString::number(m_y->value())};
}

void TCoordForm::applyEnabling() { NumberedLineForm::applyEnabling(); }

} // namespace korvimo
