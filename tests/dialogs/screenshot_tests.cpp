// Every window of the family can be drawn as shown; with
// KORVIMO_SCREENSHOT_DIR set the pictures are kept there for looking at.
#include <QDir>
#include <QPixmap>
#include <QPrinter>

#include "dialogs/dialogfixture.h"
#include "ui/dialogs/tafdrukkenform.h"
#include "ui/dialogs/tarmenform.h"
#include "ui/dialogs/texporterenform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/dialogs/tproginstelform.h"
#include "ui/dialogs/tserverform.h"
#include "server/asserver.h"

#include <QTabWidget>

namespace {

class Dialogs_ScreenshotTests : public test::DialogFixture {
protected:
    // Shows the window, lets it lay out and paint, and grabs it.
    void shoot(QWidget& w, const QString& name)
    {
        w.show();
        QApplication::processEvents();
        QTest::qWait(20);
        const QPixmap shot = w.grab();
        EXPECT_FALSE(shot.isNull()) << name.toStdString();
        EXPECT_GE(shot.width(), 200) << name.toStdString();
        const QString dir = qEnvironmentVariable("KORVIMO_SCREENSHOT_DIR");
        const QString folder = dir.isEmpty() ? scratch.path() : dir;
        QDir().mkpath(folder);
        EXPECT_TRUE(shot.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
        w.hide();
    }
};

TEST_F(Dialogs_ScreenshotTests, EveryWindowDraws)
{
    // The seven windows shown over the four-arm crossing, each page of the tabbed ones.
    ASSERT_TRUE(library.OpenBestandUitLib(QStringLiteral("011400"), files, false));
    doc.general.armcenter = QStringLiteral("0001");
    {
        korvimo::TNieuwForm w(ctx, library, files);
        shoot(w, QStringLiteral("nieuwform"));
    }
    {
        korvimo::TArmenForm w(ctx, doc);
        shoot(w, QStringLiteral("armenform"));
    }
    {
        korvimo::TExporterenForm w(ctx, doc);
        ctx.settings.exportType = 5;
        shoot(w, QStringLiteral("exporterenform"));
    }
    {
        korvimo::TAfdrukkenForm w(ctx, doc);
        w.usePdfPrinter();
        shoot(w, QStringLiteral("afdrukkenform"));
        w.PageControl1->setCurrentIndex(1);
        shoot(w, QStringLiteral("afdrukkenform-instellingen"));
    }
    {
        korvimo::AsServer server(ctx);
        server.setStartupFile(QString());
        korvimo::TServerForm w(server);
        server.LogLine(QStringLiteral("Import=/srv/korvimo/plan.kvoimp"));
        server.LogLine(QStringLiteral("Export=/srv/korvimo/plan.jpg"));
        shoot(w, QStringLiteral("serverform"));
    }
    {
        korvimo::TProgInstelForm w(ctx);
        const char* pages[] = {"programma", "opmaak", "uitvoer", "kleuren"};
        for (int i = 0; i < 4; ++i) {
            w.PageControl1->setCurrentIndex(i);
            shoot(w, QStringLiteral("proginstelform-") + QString::fromLatin1(pages[i]));
        }
    }
}

} // namespace
