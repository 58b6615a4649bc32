#pragma once
// Pieces that every editing dialog is built from, so that their button
// rows, number fields and busy cursors look and behave alike.
#include <QString>

#include "uikit/busycursor.h"

class QBoxLayout;
class QDialog;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

namespace korvimo {

using uikit::BusyCursor;

struct DialogButtons {
    QPushButton* ok = nullptr;     // "OKButton", the default button
    QPushButton* cancel = nullptr; // "AnnulerenButton": rejects
    QPushButton* help = nullptr;   // "HelpButton": opens the help context
};

// The row "&OK", "&Annuleren", "Help" at the bottom of `layout`, right
// aligned. OK is not connected: each dialog checks before it accepts. The
// dialog is marked with its help context, which the help button opens.
DialogButtons addDialogButtons(QDialog& dialog, QBoxLayout& layout, int helpContext);

// A number field with a name and limits; the defaults are the whole range
// of a signed 32-bit number ("without limits").
QSpinBox* numberField(const char* name, QWidget* parent, int minimum = -2147483647 - 1,
                      int maximum = 2147483647);
QLabel* captionLabel(const char* name, const QString& text, QWidget* buddy, QWidget* parent);
QGroupBox* groupBox(const char* name, const QString& title, QWidget* parent);
QCheckBox* checkBox(const char* name, const QString& text, QWidget* parent);

// The caption text for a Windows colour value 0x00BBGGRR.
QString colourSwatchStyle(int windowsColour);

} // namespace korvimo
