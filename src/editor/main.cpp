// cardwright: the editor. Opens the project named on the command line, else the default project (or a
// rescued one after a crash).
#include "app/log.h"
#include "app/workspace.h"
#include "editor/cardwright_dlg.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/startup.h"
#include "editor/test_switches.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <filesystem>

int main(int argc, char** argv) {
    const QString webEngineNote = editor::PrepareWebEngine();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Cardwright"));
    QApplication::setApplicationName(QStringLiteral("Cardwright"));
    QApplication::setApplicationVersion(QStringLiteral(CW_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Makes interactive greeting e-gifts."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QApplication::translate("main", "A project file (.cwp) to open."),
                                 QStringLiteral("[project.cwp]"));
    parser.process(application);

    const app::Workspace workspace = app::Workspace::FromEnvironment();
    std::error_code ec;
    std::filesystem::create_directories(workspace.WorkDir(), ec);
    std::unique_ptr<editor::Prompter> prompter = editor::MakePrompter();
    app::Log log(workspace.LogPath());
    if (!log.IsOpen()) {
        prompter->inform(nullptr, QString::fromLatin1(app::kUnableToCreateLog), QMessageBox::Warning);
    }
    log.WriteRunHeader();
    if (!webEngineNote.isEmpty()) {
        log.Write(webEngineNote.toStdString() + "\n");
    }

    const QString rescued = editor::OfferRescue(*prompter, workspace);
    editor::CCardwrightDlg window(workspace, log, *prompter);
    // The Preview dialog borrows a player started in the background a little after the first card shows.
    window.preview().keepWarmPlayer(1500);
    window.initialise(rescued);
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        if (rescued.isEmpty()) {
            window.openProjectFile(files.first());
        } else {
            log.Write("The rescued project was opened instead of the file named on the command line.\n");
        }
    }
    window.show();
    window.showStartupTips();
    editor::ApplyTestSwitches(window);
    const int status = application.exec();
    editor::CleanExit(workspace);
    return status;
}
