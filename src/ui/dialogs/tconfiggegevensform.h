#pragma once
// `TConfigGegevensForm` ("Configuration info"): the facts of
// settings/configinfo.h in a two-column list, and "Copy to clipboard" for a
// support request. Not modal; it changes nothing. Its texts are English in
// every language, as support requests are read in English.
#include <QDialog>
#include <QList>
#include <functional>

#include "settings/configinfo.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace korvimo {

class TConfigGegevensForm final : public QDialog {
    Q_OBJECT
public:
    explicit TConfigGegevensForm(QWidget* parent = nullptr);

    // Opens the window with the facts gathered now, or, when the program
    // folder holds "NoConfigurationInfo.wnd", only tells that the function
    // is disabled. input.printer is filled here from the print system.
    void open(ConfigInput input);

    // Copies the rows between "*Start" and "*End" to the clipboard.
    void CopyButtonClick();

    QList<ConfigRow> rows() const { return m_rows; }
    QTableWidget* list() const { return m_list; }
    QString copyText() const;

    // How the window tells things (title, text): the program's boxes unless
    // a test listens instead. Used for the disabled notice and for every
    // fact that could not be read.
    std::function<void(const QString& title, const QString& text)> tellInfo;
    std::function<void(const QString& title, const QString& text)> tellError;

    // The current printer's facts.
    static PrinterFacts printerFacts();

private:
    QTableWidget* m_list;
    QPlainTextEdit* m_copyMemo;
    QList<ConfigRow> m_rows;
};

} // namespace korvimo
