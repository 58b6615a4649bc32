// The desktop program: one main window over the one open diagram.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "ui/mainwindow/commandline.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/metarenderer.h"
#include "uikit/messageboxes.h"
#include "uikit/theme.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(korvimo::kProgramName));
    QApplication::setApplicationVersion(QStringLiteral(KORVIMO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("korvimo"));

    // The desktop's own palette, before the program changes anything: the
    // "follow the system" theme reads it.
    korvimo::uikit::Theme theme(QApplication::palette());

    korvimo::ProgramContext ctx;
    ctx.paths = korvimo::ProgramPaths::detect(QCoreApplication::applicationDirPath());
    korvimo::uikit::UiKitMessenger messenger(ctx.texts);
    ctx.messenger = &messenger;

    korvimo::DiagramDocument doc;
    korvimo::MetaRenderer renderer;
    korvimo::THoofdForm form(ctx, doc, theme);
    form.setRenderer(&renderer);
    messenger.setParent(&form);
    form.setCommandLineFile(korvimo::commandLineFileName(QCoreApplication::arguments()));
    form.show();
    QTimer::singleShot(0, &form, &korvimo::THoofdForm::FormActivate);
    return app.exec();
}
