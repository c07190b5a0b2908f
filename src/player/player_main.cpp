// cardwright-player [--maximized] [PATH|URL]: the stand-alone movie player.
#include "player/player_window.h"
#include "player/web_engine_setup.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char** argv) {
    const QString setupNote = player::PrepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Cardwright"));
    QApplication::setApplicationName(QStringLiteral("cardwright-player"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Plays a Flash movie file or web address."));
    parser.addHelpOption();
    const QCommandLineOption maximized(QStringLiteral("maximized"),
                                       QApplication::translate("main", "Open the window maximized."));
    parser.addOption(maximized);
    parser.addPositionalArgument(QStringLiteral("movie"),
                                 QApplication::translate("main", "The movie file or web address to play."),
                                 QStringLiteral("[PATH|URL]"));
    parser.process(app);
    if (!setupNote.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(setupNote));
    }

    player::PlayerWindow window;
    // The movie is one argument; a caller that did not quote a path with spaces gave several.
    const QString target = parser.positionalArguments().join(QLatin1Char(' '));
    if (!target.isEmpty()) {
        window.open(target);
    }
    if (parser.isSet(maximized)) {
        window.showMaximized();
    } else {
        window.show();
    }
    return app.exec();
}
