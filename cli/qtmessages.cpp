#include "cli/qtmessages.h"

#include <QtGlobal>

namespace korvimo::cli {

namespace {

QtMessageHandler g_default = nullptr;

void dropAllButFatal(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        g_default(type, context, text);
}

} // namespace

void filterQtMessages()
{
    if (!qEnvironmentVariableIsEmpty("KORVIMO_QT_MESSAGES"))
        return;
    g_default = qInstallMessageHandler(dropAllButFatal);
}

} // namespace korvimo::cli
