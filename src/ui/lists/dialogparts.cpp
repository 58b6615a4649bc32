#include "ui/lists/dialogparts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "ui/help/helpcontext.h"
#include "uikit/theme.h"

namespace korvimo {

DialogButtons addDialogButtons(QDialog& dialog, QBoxLayout& layout, int helpContext)
{
    DialogButtons b;
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    b.ok = new QPushButton(QStringLiteral("&OK"), &dialog);
    b.ok->setObjectName(QStringLiteral("OKButton"));
    b.ok->setDefault(true);
    b.ok->setAutoDefault(true);
    b.cancel = new QPushButton(QStringLiteral("&Annuleren"), &dialog);
    b.cancel->setObjectName(QStringLiteral("AnnulerenButton"));
    b.cancel->setAutoDefault(false);
    // No accelerator: F1 opens help, and the letter is wanted by the fields.
    b.help = new QPushButton(QStringLiteral("Help"), &dialog);
    b.help->setObjectName(QStringLiteral("HelpButton"));
    b.help->setAutoDefault(false);
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    row->addWidget(b.help);
    layout.addLayout(row);
    QObject::connect(b.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    setHelpContext(dialog, helpContext);
    QDialog* d = &dialog;
    QObject::connect(b.help, &QPushButton::clicked, &dialog, [d, helpContext] { openHelpContext(d, helpContext); });
    return b;
}

QSpinBox* numberField(const char* name, QWidget* parent, int minimum, int maximum)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(minimum, maximum);
    s->setAccelerated(true);
    return s;
}

QLabel* captionLabel(const char* name, const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

QCheckBox* checkBox(const char* name, const QString& text, QWidget* parent)
{
    auto* b = new QCheckBox(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QGroupBox* groupBox(const char* name, const QString& title, QWidget* parent)
{
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

QString colourSwatchStyle(int windowsColour)
{
    const QColor c = uikit::fromWindowsColor(windowsColour);
    return QStringLiteral("background-color: %1; border: 1px solid #808080;").arg(c.name());
}

} // namespace korvimo
