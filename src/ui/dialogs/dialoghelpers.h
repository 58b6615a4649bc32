#pragma once
// Small pieces every data and output window shares: the busy cursor, the
// help button, and the frame of a dialog (objectName, caption, help context).
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <optional>

#include "ui/help/helpcontext.h"
#include "uikit/busycursor.h"

namespace korvimo::dialogs {

using BusyCursor = uikit::BusyCursor;

// Names the window after its component, gives it its caption and marks it
// with its help context.
inline void frameDialog(QDialog& dialog, const char* componentName, const QString& caption, int helpContext)
{
    dialog.setObjectName(QString::fromLatin1(componentName));
    dialog.setWindowTitle(caption);
    dialog.setModal(true);
    setHelpContext(dialog, helpContext);
}

// The "?" button with the hint "Help" that opens the window's help page.
inline QToolButton* makeHelpButton(QDialog& dialog, int helpContext)
{
    auto* button = new QToolButton(&dialog);
    button->setObjectName(QStringLiteral("HelpButton"));
    button->setText(QStringLiteral("?"));
    button->setToolTip(QStringLiteral("Help"));
    QObject::connect(button, &QToolButton::clicked, &dialog,
                     [&dialog, helpContext] { openHelpContext(&dialog, helpContext); });
    return button;
}

// The buttons every data and output window closes with: the action button
// "BitBtn1" (the default), "&Annuleren" as "BitBtn2", and the help button.
// The window lays them out and connects them.
inline void makeActionButtons(QDialog& dialog, const QString& actionCaption, int helpContext, QPushButton*& action,
                              QPushButton*& cancel, QToolButton*& help)
{
    action = new QPushButton(actionCaption, &dialog);
    action->setObjectName(QStringLiteral("BitBtn1"));
    action->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Annuleren"), &dialog);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    help = makeHelpButton(dialog, helpContext);
}

// The system colour dialog preset with `current` (`BepaalKleur`); nothing
// when the user cancels. The int form speaks decimal Windows colour values,
// as diagram keys and script fields store them.
std::optional<QColor> BepaalKleur(const QColor& current, QWidget* parent);
std::optional<int> BepaalKleur(int current, QWidget* parent);

// The system font dialog preset with `current`; nothing when cancelled.
std::optional<QFont> chooseSystemFont(const QFont& current, QWidget* parent);

} // namespace korvimo::dialogs
