#pragma once
// `THelpForm`: the help window. It shows the HTML pages of one help set
// (Hlp/<help name>/<context>.html) in a browser, with buttons for the
// contents page, back and forward. It is not modal, so the window it helps
// with stays usable beside it.
#include <QDialog>
#include <QString>

class QPushButton;
class QTextBrowser;

namespace korvimo {

inline constexpr int kHelpContents = 20;
inline constexpr int kHelpFaq = 40;

// The page of a help context in a help set folder ("…/Hlp/Korvimo_English/").
QString helpPagePath(const QString& helpSetFolder, int context);

class THelpForm final : public QDialog {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

    // Shows the page; a missing page shows notFoundText instead (the page's
    // path filled in) so the user sees what is missing.
    void showPage(const QString& helpSetFolder, int context, const QString& notFoundText);
    QTextBrowser* browser() const { return m_browser; }
    // The page on show, empty when the page was missing.
    QString currentPage() const { return m_current; }

private:
    QTextBrowser* m_browser;
    QPushButton* m_contents;
    QPushButton* m_back;
    QPushButton* m_forward;
    QString m_folder;
    QString m_current;
};

} // namespace korvimo
