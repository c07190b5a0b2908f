#include "player/web_engine_setup.h"

#include <QCoreApplication>

#include <unistd.h>

namespace player {

QString PrepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() != 0) {
        return {};
    }
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        return QStringLiteral(
            "Running as root: Qt WebEngine's sandbox setting is taken from the environment");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return QStringLiteral("Running as root: Qt WebEngine's sandbox is turned off");
}

} // namespace player
