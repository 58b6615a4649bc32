#pragma once
// The program's four message boxes. Every window of the program asks and
// tells through these, so that captions, button texts, defaults and results
// are the same everywhere.
//
// Results: 1 for OK, 6 for yes, 7 for no, 2 for cancel. The three-button box
// answers 2 also when it is closed without a button (Escape, the title bar).
// An empty button text falls back to "&Yes", "&No", "&OK" or "&Cancel".
#include <QMessageBox>
#include <QString>
#include <memory>

#include "core/messenger.h"

class QWidget;

namespace korvimo {

class LanguageTexts;

namespace uikit {

inline constexpr int kResultOk = 1;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
inline constexpr int kResultCancel = 2;

int MesError(QWidget* parent, const QString& caption, const QString& title, const QString& okText,
             const QString& message);
int MesInfo(QWidget* parent, const QString& caption, const QString& title, const QString& okText,
            const QString& message);
int MesWarning(QWidget* parent, const QString& caption, const QString& title, const QString& okText,
               const QString& message);
// defaultButton: 0 = yes, 1 = no (anything else counts as yes).
int MesYesNoCancel(QWidget* parent, const QString& caption, const QString& title, int defaultButton,
                   const QString& cancelText, const QString& noText, const QString& yesText,
                   const QString& message);

// The boxes as built, before they are shown: for callers that show them
// without blocking, and for tests. exec() of such a box returns the Qt
// button code; boxResult() turns it into the program's result.
std::unique_ptr<QMessageBox> makeOkBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                       const QString& title, const QString& okText, const QString& message);
std::unique_ptr<QMessageBox> makeYesNoCancelBox(QWidget* parent, const QString& caption, const QString& title,
                                                int defaultButton, const QString& cancelText,
                                                const QString& noText, const QString& yesText,
                                                const QString& message);
int boxResult(const QMessageBox& box);

// The desktop program's Messenger: every message becomes a box with the
// program name as caption and the run-time texts' OK caption.
class UiKitMessenger final : public Messenger {
public:
    UiKitMessenger(const LanguageTexts& texts, QWidget* parent = nullptr) : m_texts(texts), m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void error(const QString& text) override;
    void information(const QString& text) override;
    void warning(const QString& text) override;
    int question(const QString& title, const QString& text, const QString& yesCaption,
                 const QString& noCaption, const QString& cancelCaption) override;

private:
    QString okText() const;
    const LanguageTexts& m_texts;
    QWidget* m_parent;
};

} // namespace uikit
} // namespace korvimo
