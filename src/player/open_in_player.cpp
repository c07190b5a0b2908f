#include "player/open_in_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace player {

namespace {

std::function<bool(const QString&, const QStringList&)>& Starter() {
    static std::function<bool(const QString&, const QStringList&)> starter;
    return starter;
}

} // namespace

PlayerLaunch PlayerCommand(const QString& target, bool maximized) {
    PlayerLaunch launch;
    launch.program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("cardwright-player"));
    if (maximized) {
        launch.arguments << QStringLiteral("--maximized");
    }
    // "--" keeps a target that starts with a dash from being read as an option.
    launch.arguments << QStringLiteral("--") << target;
    return launch;
}

bool OpenInPlayer(const QString& target, bool maximized) {
    const PlayerLaunch launch = PlayerCommand(target, maximized);
    if (Starter()) {
        return Starter()(launch.program, launch.arguments);
    }
    return QProcess::startDetached(launch.program, launch.arguments);
}

void SetPlayerStarter(std::function<bool(const QString&, const QStringList&)> starter) {
    Starter() = std::move(starter);
}

} // namespace player
