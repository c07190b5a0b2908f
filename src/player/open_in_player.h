// Starting the stand-alone player `cardwright-player` beside the running program.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace player {

// The program and arguments that play `target` (a path or web address, passed unchanged as one argument
// even with spaces) in the stand-alone player, with "--maximized" when asked.
struct PlayerLaunch {
    QString program;
    QStringList arguments;
};
PlayerLaunch PlayerCommand(const QString& target, bool maximized);

// Starts the stand-alone player on `target` as an independent process; the caller neither waits for it
// nor closes it. Returns false when it could not be started.
bool OpenInPlayer(const QString& target, bool maximized);

// Replaces how the process is started (tests); an empty function restores QProcess::startDetached.
void SetPlayerStarter(std::function<bool(const QString& program, const QStringList& arguments)> starter);

} // namespace player
