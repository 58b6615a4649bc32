#pragma once
// `TLanguageForm` ("Language"): the language of the program and, apart from
// it, the help set. Every control carries the untranslated prefix, so the
// dialog reads the same in every language and a user who chose a language
// he cannot read can always find the way back.
#include <QDialog>
#include <QList>
#include <functional>

#include "i18n/languagesetup.h"
#include "i18n/windowtranslation.h"

class QListWidget;
class QPushButton;

namespace korvimo {

struct ProgramContext;

class TLanguageForm final : public QDialog {
    Q_OBJECT
public:
    explicit TLanguageForm(ProgramContext& ctx, QWidget* parent = nullptr);

    // Fills both lists afresh (no selection); a missing folder is told with
    // "Folder not found: %s".
    void FormActivate();
    // The OK button: the choice is applied and the window texts follow
    // through applyChoice.
    void OKButtonClick();

    QListWidget* languageList() const { return m_languages; }
    QListWidget* helpList() const { return m_help; }
    QPushButton* templateButton() const { return m_template; }

    // What runs after OK applied the run-time texts: translating the windows
    // (the main window's VertaalSchermen) and pointing the help at a new set.
    std::function<void(const QString& language, const LanguageChoice& choice)> applyChoice;
    // The windows the diagnostic template is written from.
    std::function<QList<WindowTexts>()> templateWindows;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void writeTemplate();

    ProgramContext& m_ctx;
    QListWidget* m_languages;
    QListWidget* m_help;
    QPushButton* m_template;
};

} // namespace korvimo
