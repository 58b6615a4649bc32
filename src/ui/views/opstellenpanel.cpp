#include "ui/views/opstellenpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/views/pictures.h"
#include "uikit/icons.h"

namespace korvimo {

namespace {

struct ButtonKind {
    const char* suffix;
    const char* icon;
    const char* hint;
};

const ButtonKind kButtonKinds[] = {
    {"Add", "add", "Toevoegen..."},   {"Edit", "change", "Wijzigen..."}, {"Del", "delete", "Verwijderen..."},
    {"Copy", "copy", "Kopi\u00ebren"}, {"Paste", "paste", "Plakken"},
};

QListWidget* makeList(const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    list->setFont(mono);
    return list;
}

void fill(QListWidget* list, const QStringList& lines)
{
    const int row = list->currentRow();
    list->clear();
    list->addItems(lines);
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

} // namespace

OpstellenPanel::OpstellenPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OpstellenPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_script = makeList("ScriptListBox", this);
    m_coords = makeList("CoordsListBox", this);
    m_int = makeList("IntListBox", this);
    m_coordsLabel = new QLabel(QStringLiteral("0,0"), this);
    m_coordsLabel->setObjectName(QStringLiteral("CoordsLabel"));
    m_coordsLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("ScriptSplitter"));
    m_splitter->setChildrenCollapsible(false);
    QWidget* scriptPanel = listPanel(QStringLiteral("ScriptPanel"), QStringLiteral("Script"), m_script, nullptr,
                                     {"Add", "Edit", "Del", "Copy", "Paste"});
    scriptPanel->setMinimumHeight(20);
    m_splitter->addWidget(scriptPanel);

    auto* lower = new QWidget(m_splitter);
    lower->setObjectName(QStringLiteral("OnderOpstellenPanel"));
    lower->setMinimumHeight(20);
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    auto* lists = new QWidget(lower);
    lists->setObjectName(QStringLiteral("LijstenPanel"));
    lists->setMinimumWidth(240);
    lists->setMaximumWidth(320);
    auto* listsLayout = new QVBoxLayout(lists);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    // Equal stretch: the coordinate panel gets half the height, the volume
    // panel the rest, on every resize and splitter move.
    listsLayout->addWidget(listPanel(QStringLiteral("CoordsPanel"), QStringLiteral("Co\u00f6rdinaten"), m_coords,
                                     m_coordsLabel, {"Add", "Edit", "Del"}),
                           1);
    listsLayout->addWidget(listPanel(QStringLiteral("IntPanel"), QStringLiteral("Intensiteiten & waarden"), m_int,
                                     nullptr, {"Add", "Edit", "Del"}),
                           1);
    lowerLayout->addWidget(lists);

    m_scrollBox = new QScrollArea(lower);
    m_scrollBox->setObjectName(QStringLiteral("OpScrollBox"));
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture = new PictureWidget();
    m_picture->setObjectName(QStringLiteral("OpImage"));
    m_picture->resize(500, 500);
    m_scrollBox->setWidget(m_picture);
    lowerLayout->addWidget(m_scrollBox, 1);
    m_splitter->addWidget(lower);
    m_splitter->setStretchFactor(0, 2);
    m_splitter->setStretchFactor(1, 3);
    layout->addWidget(m_splitter);
}

QWidget* OpstellenPanel::listPanel(const QString& name, const QString& header, QListWidget* list, QLabel* extra,
                                   const QStringList& buttons)
{
    auto* panel = new QWidget(this);
    panel->setObjectName(name);
    auto* grid = new QVBoxLayout(panel);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    auto* head = new QHBoxLayout();
    auto* title = new QLabel(header, panel);
    title->setTextFormat(Qt::PlainText);
    title->setObjectName(name + QStringLiteral("Label"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    head->addWidget(title);
    head->addStretch(1);
    if (extra)
        head->addWidget(extra);
    grid->addLayout(head);

    auto* body = new QHBoxLayout();
    body->addWidget(list, 1);
    auto* column = new QVBoxLayout();
    column->setSpacing(2);
    // "ScriptPanel" -> "ScriptAddButton", "CoordsPanel" -> "CoordAddButton".
    QString base = name.left(name.size() - 5);
    if (base.endsWith(QLatin1Char('s')))
        base.chop(1);
    for (const ButtonKind& kind : kButtonKinds) {
        if (!buttons.contains(QString::fromLatin1(kind.suffix)))
            continue;
        auto* b = new QToolButton(panel);
        b->setObjectName(base + QString::fromLatin1(kind.suffix) + QStringLiteral("Button"));
        b->setIcon(uikit::programIcon(QString::fromLatin1(kind.icon)));
        b->setIconSize(QSize(18, 18));
        b->setToolTip(QString::fromUtf8(kind.hint));
        b->setAutoRaise(true);
        b->setEnabled(false);
        column->addWidget(b);
        m_buttons.append(b);
    }
    column->addStretch(1);
    body->addLayout(column);
    grid->addLayout(body, 1);
    return panel;
}

void OpstellenPanel::showLists(const QStringList& script, const QStringList& coordinates,
                               const QStringList& intensities)
{
    fill(m_script, script);
    fill(m_coords, coordinates);
    fill(m_int, intensities);
}

} // namespace korvimo
