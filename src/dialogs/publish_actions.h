// The publishing commands of the editor window: Finish, Generate SWF, Generate and Preview Web Page, and
// Tools > Create Photo Album. Each takes what it needs in a PublishContext, so that the editor calls it
// from its command and the tests drive it with recorders. Each returns once its work has started: the long
// steps run on workers with a progress window, the flow goes on from their ends, and `ended` is called when
// the command is over.
//
//     publish_ui::PublishContext ctx = publish_ui::PublishContext::ForWindow(this, dataRoot, tempDir);
//     ctx.generate = [](const std::filesystem::path& out, const dialogs::TaskControl& control) { ...; return
//     {}; }; ctx.rescueSave = [this] { app::RescueSave(m_project, m_workspace); }; ctx.tip = [this](const
//     QString& text) { ShowTipMessage(text); }; ctx.authorEmail = [this] { return
//     m_project.settings.m_strEmail; }; publish_ui::OnFinish(ctx);
#pragma once

#include "dialogs/background_task.h"
#include "dialogs/publish_prompts.h"

#include <QString>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace publish_ui {

class AlbumProgressDialog;
class CDlgFinish;

// Starts the stand-alone player on a movie path or web address (the window state is the player's).
using OpenInPlayerFn = std::function<void(const QString& pathOrUrl)>;

// The default: `cardwright-player` beside this program's executable, started detached.
void StartPlayerBesideProgram(const QString& pathOrUrl);

// Shows a file in the desktop's file manager (ShowItems over D-Bus), else opens its folder.
void ShowInFileManager(const QString& file);

struct PublishContext {
    QWidget* parent = nullptr;
    std::filesystem::path dataRoot; // holds Ruffle/
    std::filesystem::path tempDir;  // the work folder's Temp

    // Generates the whole e-gift movie at the path, on a worker thread: it tells `control` how far it is
    // and stops when asked. Throws when the file cannot be written. Returns what to show on the GUI thread
    // once it has ended (what the builder reported), or an empty function.
    std::function<std::function<void()>(const std::filesystem::path& movie,
                                        const dialogs::TaskControl& control)>
        generate;
    // The rescue save before Finish (no dialog, no message).
    std::function<void()> rescueSave;
    // A short hint balloon of the editor.
    std::function<void(const QString& text)> tip;
    // The author's e-mail address (the mail's sender).
    std::function<std::string()> authorEmail;
    // Writes the gift as a web page to `page`. For a gift with a Flash clip, which only the page with the
    // Flash player shows, it writes nothing and returns the one line that says so. Unset: the player page.
    std::function<std::optional<std::string>(const std::filesystem::path& page)> writeWebPage;
    // The one line of a gift with a Flash clip, for the Finish dialog (nullopt for any other gift).
    std::function<std::optional<std::string>()> flashClip;

    PublishPrompts prompts = PublishPrompts::Desktop();
    OpenInPlayerFn openInPlayer = StartPlayerBesideProgram;
    std::function<void(const QString& file)> showInFolder = ShowInFileManager;
    std::function<bool(const QUrl& url)> openUrl; // the desktop's association; QDesktopServices by default
    std::function<int(CDlgFinish& dialog)> runDialog;                        // dialog.exec() by default
    std::function<void(AlbumProgressDialog& progress)> prepareAlbumProgress; // before the album starts
    std::string mailProgram = "xdg-email";
    // The command is over, whichever way it ended (optional).
    std::function<void()> ended;

    // A context for the window `parent` with the desktop's defaults and the folders of `workspace`.
    static PublishContext ForWindow(QWidget* parent, const std::filesystem::path& dataRoot,
                                    const std::filesystem::path& tempDir);
};

// Finish: rescue save, the Finish dialog, then zip, movie, self-running file, mail or the question.
void OnFinish(PublishContext ctx);
// Export > Generate SWF: a file name, the movie, the question (Yes opens it with the desktop).
void OnGenerateSwf(PublishContext ctx);
// Export > Generate Web Page: the movie into Temp/generate.swf, then BuildExeWithPlayer, reported as a
// tip.
void OnGenerateExe(PublishContext ctx);
// Export > Preview Web Page: the web page into Temp/preview.html, opened in the system's browser.
void OnPreviewWebPage(PublishContext ctx);
// Whether the self-running file was made (also true when the user cancelled the name), and its path.
using SelfRunningDone = std::function<void(bool ok, std::optional<std::filesystem::path> written)>;
// Makes the self-running file of `moviePath` (the web page when ctx.writeWebPage is set and the gift
// has no Flash clip, else the page with the player), asking for its name with a save dialog owned by
// `owner`; `then` gets the outcome.
void BuildExeWithPlayer(PublishContext ctx, const std::filesystem::path& moviePath, QWidget* owner,
                        SelfRunningDone then);
// Tools > Create Photo Album.
void CreatePhotoAlbum(PublishContext ctx);

// Menu texts of the commands above.
QString GenerateExeMenuText();
QString PreviewWebPageMenuText();
QString CreatePhotoAlbumMenuText();

} // namespace publish_ui
