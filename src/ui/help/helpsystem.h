#pragma once
// The help of the program: one help window, the F1 key everywhere and the
// help buttons of the dialogs. F1 opens the page of the nearest window (the
// focused widget, then its parents) that carries a "helpContext"; the main
// window's own F1 is its Contents command. The pages come from the help set
// chosen in the language dialog (LanguageHelp), read anew each time.
//
// The help system is a child of the main window; openHelpContext finds it
// from any window the main window owns.
#include <QObject>
#include <QPointer>
#include <QRect>

#include "ui/help/thelpform.h"

class QWidget;

namespace korvimo {

struct ProgramContext;

class HelpSystem final : public QObject {
    Q_OBJECT
public:
    HelpSystem(ProgramContext& ctx, QWidget& mainWindow);
    ~HelpSystem() override;

    // Opens the page of context beside from (or the main window).
    void show(int context, QWidget* from = nullptr);
    // The help set folder now in use, with a trailing '/'.
    QString helpSetFolder() const;
    // The window, once it has been opened; null before.
    THelpForm* window() const { return m_window; }

    // The context F1 opens from widget: the nearest "helpContext" of the
    // widget and its parents, the contents page when none has one.
    static int contextFor(const QWidget* widget);

    // The help system serving widget, found through its parents; null when
    // none is installed.
    static HelpSystem* findFor(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THelpForm& windowFor(QWidget* host);

    ProgramContext& m_ctx;
    QWidget& m_main;
    QPointer<THelpForm> m_window;
    QRect m_geometry;
};

} // namespace korvimo
