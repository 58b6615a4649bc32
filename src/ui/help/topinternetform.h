#pragma once
// `TOpInternetForm`: the product's web address and contact address as
// links. Its caption is the web-links text of the current language
// (AA00040 with the maker's name), set whenever the language changes.
#include <QDialog>

class QLabel;

namespace korvimo {

struct ProgramContext;

class TOpInternetForm final : public QDialog {
    Q_OBJECT
public:
    explicit TOpInternetForm(ProgramContext& ctx, QWidget* parent = nullptr);
    // Caption and addresses for the current language.
    void updateTexts();

private:
    ProgramContext& m_ctx;
    QLabel* m_web;
    QLabel* m_mail;
};

} // namespace korvimo
