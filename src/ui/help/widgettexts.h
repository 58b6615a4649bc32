#pragma once
// The bridge between real windows and the widget-free translation rules of
// i18n/windowtranslation.h: reading what a window's components show, by
// objectName, and putting translated texts back.
//
// Which component has which text:
//   QAction          Caption = text, Hint = tool tip
//   QMenu            Caption = title
//   QAbstractButton  Caption = text (a tool button that only shows an action is left to the action)
//   QLabel           Caption = text
//   QGroupBox        Caption = title
//   tab page         Caption = the text on its tab
//   QComboBox        Items
//   QPlainTextEdit, QTextEdit (not a browser)   Lines
//   any widget       Hint = tool tip, when it has one
// Child dialogs and main windows are windows of their own and are not
// walked into; Qt's own inner widgets ("qt_" names) are skipped.
//
// A label that a form layout made without a name is named after the field it
// labels (field name + "Label"), so that row labels are translatable without
// every dialog naming them.
#include <QList>
#include <QString>
#include <QStringList>

#include "i18n/windowtranslation.h"

class QWidget;

namespace korvimo {

struct CollectedWindow {
    WindowTexts texts;
    // Texts shown by components that have no name and so cannot be
    // translated, as "ClassName: text".
    QStringList unnamed;
};

CollectedWindow collectWindowTexts(QWidget& window);

// Translates the window from the file; a text changes only where the file's
// rules give a new one.
void translateWidgetWindow(QWidget& window, const LanguageFile& file);

// Whether a text asks for a translation at all: it holds a letter.
bool needsTranslation(const QString& text);

} // namespace korvimo
