#pragma once
// A main window on the offscreen platform, with a recording messenger and a
// renderer that only counts and paints a frame, so the views can be driven
// with real events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <functional>
#include <ostream>
#include <memory>

#include "support/qtprinting.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/filecommands.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/diagramrenderer.h"
#include "uikit/theme.h"


namespace test {

// Lets the event loop run until the condition holds (at most ten seconds).
inline bool waitUntil(const std::function<bool()>& condition)
{
    for (int i = 0; i < 1000 && !condition(); ++i)
        QTest::qWait(10);
    return condition();
}

// Mouse events straight to the widget, whatever covers it in the window.
inline void sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                      ? Qt::MouseButtons()
                                      : Qt::MouseButtons(button);
    QMouseEvent ev(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

class CountingRenderer final : public korvimo::DiagramRenderer {
public:
    void render(korvimo::DiagramDocument& doc, korvimo::ProgramContext&) override
    {
        ++renders;
        size = QSize(doc.general.diagramwidth * 10, doc.general.diagramheight * 10);
    }
    QSize metaSize() const override { return size; }
    void play(QPainter& p, const QRect& target) const override
    {
        ++plays;
        lastTarget = target;
        p.fillRect(target, Qt::black);
    }
    int renders = 0;
    mutable int plays = 0;
    mutable QRect lastTarget;
    QSize size{5000, 5000};
};

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ctx.paths = korvimo::ProgramPaths::forProgramFolder(QStringLiteral(KORVIMO_BIN_DIR));
        ctx.messenger = &messenger;
        ctx.settings.startShowNewForm = false;
        ctx.settings.interfaceTheme = 2; // light whatever the test machine's palette
        theme = std::make_unique<korvimo::uikit::Theme>(QApplication::palette());
        form = std::make_unique<korvimo::THoofdForm>(ctx, doc, *theme);
        form->setRenderer(&renderer);
        form->setStartupInfoMilliseconds(0);
        form->writeSettings = [this] { ++settingsWritten; };
        form->readSettings = [] {};
        form->fileCommands().dialogs.saveFileName = [this](const QString&, const QString&) {
            ++saveDialogs;
            return QString();
        };
        form->fileCommands().dialogs.openFileName = [this](const QString&) { return openChoice; };
        form->resize(900, 600);
        form->show();
        form->FormActivate();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        doc.setModified(false);
        form.reset();
    }

    // A four-arm crossing's volumes: twelve turning movements.
    void loadVolumes()
    {
        doc.intensities.clear();
        for (int i = 1; i <= 12; ++i)
            doc.intensities << QStringLiteral("%1=%2;I;").arg(i, 4, 10, QLatin1Char('0')).arg(i * 100);
        doc.intensities << QStringLiteral("0100=40;V;");
        doc.coordinates = {QStringLiteral("0001=100;100;"), QStringLiteral("0002=250;250;")};
    }

    QAction* act(const char* name) const { return form->action(QString::fromLatin1(name)); }

    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    korvimo::DiagramDocument doc;
    CountingRenderer renderer;
    std::unique_ptr<korvimo::uikit::Theme> theme;
    std::unique_ptr<korvimo::THoofdForm> form;
    int settingsWritten = 0;
    int saveDialogs = 0;
    QString openChoice; // what the open dialog answers; empty = cancelled
};

} // namespace test
