#include "editor/startup.h"

#include "app/rescue.h"
#include "app/workspace.h"
#include "editor/prompter.h"

#if CW_HAVE_PLAYER
#include "player/web_engine_setup.h"
#endif

#include <QCoreApplication>

#include <unistd.h>

namespace editor {

QString PrepareWebEngine() {
#if CW_HAVE_PLAYER
    return player::PrepareWebEngine();
#else
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() != 0) {
        return {};
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return QStringLiteral("Running as root: the web engine sandbox is turned off.");
#endif
}

QString OfferRescue(Prompter& prompter, const app::Workspace& workspace) {
    if (!app::HasRescueFile(workspace)) {
        return {};
    }
    if (prompter.ask(nullptr, QString::fromLatin1(kRescueQuestion), false, QMessageBox::Question) ==
        Answer::Yes) {
        return QString::fromStdString(workspace.RescuePath().string());
    }
    app::EmptyFolder(workspace.TempDir());
    return {};
}

void CleanExit(const app::Workspace& workspace) {
    std::error_code ec;
    std::filesystem::remove(workspace.PreviewPath(), ec);
    app::EmptyFolder(workspace.TempDir());
}

} // namespace editor
