#include "dialogs/publish_actions.h"

#include "dialogs/album_progress.h"
#include "dialogs/dlg_finish.h"
#include "publish/file_manager.h"
#include "publish/finish_flow.h"
#include "publish/locked_zip.h"
#include "publish/self_running_html.h"
#include "publish/simple_mail.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProcess>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace publish_ui {

namespace fs = std::filesystem;

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("publish_ui", text);
}

QString PathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// The core's fixed texts, translated at run time.
QString TrText(std::string_view text) {
    return QCoreApplication::translate("publish_ui", std::string(text).c_str());
}

fs::path ToPath(const QString& path) {
    return fs::path(path.toStdString());
}

// Runs `work` on a worker thread while a busy window shows; its exception comes back on this thread.
void RunBusy(QWidget* parent, const QString& label, const std::function<void()>& work) {
    QProgressDialog busy(label, QString(), 0, 0, parent);
    busy.setWindowModality(Qt::WindowModal);
    busy.setMinimumDuration(400);
    std::exception_ptr failure;
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    if (!watcher.isFinished()) {
        loop.exec();
    }
    watcher.waitForFinished();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

QMessageBox::Icon IconOf(publish::MessageIcon icon) {
    switch (icon) {
    case publish::MessageIcon::Stop:
        return QMessageBox::Critical;
    case publish::MessageIcon::Warning:
        return QMessageBox::Warning;
    case publish::MessageIcon::Information:
        break;
    }
    return QMessageBox::NoIcon;
}

publish::Answer AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return publish::Answer::Yes;
    case QMessageBox::No:
        return publish::Answer::No;
    default:
        return publish::Answer::Cancel;
    }
}

void Inform(PublishContext& ctx, QWidget* parent, const QString& text) {
    ctx.prompts.message(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

// Generates the movie; false (after telling the user) when it could not be written.
bool Generate(PublishContext& ctx, const fs::path& movie) {
    try {
        ctx.generate(movie);
        return true;
    } catch (const std::exception& e) {
        ctx.prompts.message(ctx.parent, QMessageBox::Critical,
                            Tr("The e-gift could not be written to %1:\n%2")
                                .arg(PathText(movie), QString::fromUtf8(e.what())),
                            QMessageBox::Ok);
        return false;
    }
}

void SendMail(PublishContext& ctx, const fs::path& movie, const std::optional<fs::path>& zip,
              const std::optional<fs::path>& page) {
    const publish::CSimpleMail mail =
        publish::FinishMail(ctx.authorEmail ? ctx.authorEmail() : std::string(), movie, zip, page);
    publish::MailOutcome outcome;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        // The mail program may take its time to open its window; the editor keeps painting meanwhile.
        RunBusy(ctx.parent, Tr("Handing the e-gift to your mail program..."),
                [&] { outcome = mail.Send(ctx.tempDir, publish::DraftPathFor(movie), ctx.mailProgram); });
    } catch (const std::exception& e) {
        outcome.result = publish::MailResult::Failed;
        outcome.reason = e.what();
    }
    QApplication::restoreOverrideCursor();
    switch (outcome.result) {
    case publish::MailResult::Handed:
        return;
    case publish::MailResult::DraftWritten:
        if (ctx.prompts.message(ctx.parent, QMessageBox::Information,
                                Tr("No mail program answered, so the mail and its attachments were saved "
                                   "as a draft:\n%1\n\nOpen it with your mail program to send it.")
                                    .arg(PathText(outcome.draft)),
                                QMessageBox::Open | QMessageBox::Ok) == QMessageBox::Open) {
            ctx.showInFolder(PathText(outcome.draft));
        }
        return;
    case publish::MailResult::Failed:
        ctx.prompts.message(ctx.parent, QMessageBox::Critical,
                            Tr("Sending mail failed, and the mail could not be saved as a draft:\n%1")
                                .arg(QString::fromStdString(outcome.reason)),
                            QMessageBox::Ok);
        return;
    }
}

QString AlbumFilter() {
    return Tr("Flash movies (*.swf);;All files (*)");
}

} // namespace

void StartPlayerBesideProgram(const QString& pathOrUrl) {
    const QString player =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("cardwright-player"));
    QProcess::startDetached(player, {pathOrUrl});
}

void ShowInFileManager(const QString& file) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(publish::kFileManagerService), QString::fromLatin1(publish::kFileManagerPath),
        QString::fromLatin1(publish::kFileManagerInterface), QStringLiteral("ShowItems"));
    call << QStringList{QString::fromStdString(publish::FileUri(ToPath(file)))} << QString();
    const QUrl folder = QUrl::fromLocalFile(PathText(publish::FolderToOpen(ToPath(file))));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    // Asked without waiting: a file manager may take seconds to answer, and the window must not.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [folder](QDBusPendingCallWatcher* done) {
        if (done->isError()) {
            QDesktopServices::openUrl(folder); // no file manager answered: open the folder instead
        }
        done->deleteLater();
    });
}

PublishContext PublishContext::ForWindow(QWidget* parent, const fs::path& dataRoot, const fs::path& tempDir) {
    PublishContext ctx;
    ctx.parent = parent;
    ctx.dataRoot = dataRoot;
    ctx.tempDir = tempDir;
    return ctx;
}

QString GenerateExeMenuText() {
    return Tr("Generate &Web Page (plays in any browser)");
}

QString PreviewWebPageMenuText() {
    return Tr("Pre&view Web Page");
}

QString CreatePhotoAlbumMenuText() {
    return Tr("&Create Photo Album");
}

bool BuildExeWithPlayer(PublishContext& ctx, const fs::path& moviePath, QWidget* owner,
                        std::optional<fs::path>* written) {
    std::error_code ec;
    if (!fs::is_regular_file(moviePath, ec)) {
        return false; // nothing to make a page of: no name is asked
    }
    const auto ask = [&](const fs::path& movie) -> std::optional<fs::path> {
        // A movie in the work folder's Temp (Generate self-running) is offered as gift.html at home.
        const bool inTemp = movie.parent_path() == ctx.tempDir;
        const QString suggested = inTemp ? QDir::home().filePath(QStringLiteral("gift.html"))
                                         : PathText(publish::DefaultSelfRunningPath(movie));
        const QString path = ctx.prompts.saveFile(owner, {Tr("Save the self-running e-gift"),
                                                          Tr("Web pages (*.html);;All files (*)"),
                                                          QStringLiteral("html"), suggested});
        return path.isEmpty() ? std::nullopt : std::optional<fs::path>(ToPath(path));
    };
    // The name is asked here, on the GUI thread; the page is written by a worker.
    const std::optional<fs::path> target = ask(moviePath);
    publish::SelfRunningOutcome outcome;
    if (target && ctx.writeWebPage) {
        std::optional<std::string> flashClip;
        try {
            RunBusy(owner, Tr("Making the web page..."), [&] { flashClip = ctx.writeWebPage(*target); });
        } catch (const std::exception&) {
            if (written) {
                *written = std::nullopt;
            }
            return false;
        }
        if (!flashClip) {
            if (written) {
                *written = target;
            }
            return true;
        }
        // A Flash clip: the page with the player, and the user is told why.
        ctx.prompts.message(owner, QMessageBox::Information, QString::fromStdString(*flashClip),
                            QMessageBox::Ok);
    }
    try {
        RunBusy(owner, Tr("Making the self-running e-gift..."), [&] {
            outcome = publish::BuildExeWithPlayer(moviePath, ctx.dataRoot / "Ruffle",
                                                  [&](const fs::path&) { return target; });
        });
    } catch (const std::exception& e) {
        outcome = {false, std::nullopt, e.what()};
    }
    if (written) {
        *written = outcome.written;
    }
    return outcome.ok;
}

void OnFinish(PublishContext& ctx) {
    if (ctx.rescueSave) {
        try {
            ctx.rescueSave();
        } catch (const std::exception&) {
            // The rescue save is silent by design; Finish goes on.
        }
    }
    CDlgFinish dialog(ctx.prompts, ctx.parent);
    if (ctx.flashClip) {
        if (const std::optional<std::string> line = ctx.flashClip()) {
            dialog.SetSelfRunningNote(QString::fromStdString(*line));
        }
    }
    const int result = ctx.runDialog ? ctx.runDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        return;
    }
    bool written = true;
    publish::FinishSteps steps;
    steps.inform = [&](std::string_view text) { Inform(ctx, ctx.parent, TrText(text)); };
    steps.buildZip = [&](const fs::path& archive, const fs::path& folder, std::string_view password) {
        std::vector<publish::PublishMessage> messages;
        try {
            RunBusy(ctx.parent, Tr("Locking the folder into the zip..."),
                    [&] { messages = publish::BuildLockedZip(archive, folder, password); });
        } catch (const std::exception& e) {
            messages = {{publish::MessageIcon::Stop, std::string(publish::kZipCreateFailed), e.what()}};
        }
        return messages;
    };
    steps.show = [&](const publish::PublishMessage& m) {
        ctx.prompts.message(ctx.parent, IconOf(m.icon), QString::fromStdString(m.text), QMessageBox::Ok);
    };
    steps.generate = [&](const fs::path& movie) {
        if (!Generate(ctx, movie)) {
            written = false;
            throw std::runtime_error("not written");
        }
    };
    steps.makeSelfRunning = [&](const fs::path& movie) -> std::optional<fs::path> {
        std::optional<fs::path> page;
        if (!BuildExeWithPlayer(ctx, movie, ctx.parent, &page)) {
            ctx.prompts.message(ctx.parent, QMessageBox::NoIcon, TrText(publish::kSelfRunningFailed),
                                QMessageBox::Ok);
        }
        return page;
    };
    steps.mail = [&](const fs::path& movie, const std::optional<fs::path>& zip,
                     const std::optional<fs::path>& page) { SendMail(ctx, movie, zip, page); };
    steps.ask = [&](std::string_view question) {
        return AnswerOf(ctx.prompts.message(ctx.parent, QMessageBox::Question, TrText(question),
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    };
    steps.view = [&](const fs::path& movie) { ctx.openInPlayer(PathText(movie)); };
    steps.showInFolder = [&](const fs::path& movie) { ctx.showInFolder(PathText(movie)); };
    try {
        publish::RunFinish(dialog.Choices(), steps);
    } catch (const std::exception&) {
        if (written) {
            throw;
        }
        // The movie could not be written: already told; the steps after it do not run.
    }
}

void OnGenerateSwf(PublishContext& ctx) {
    const QString path =
        ctx.prompts.saveFile(ctx.parent, {Tr("Save the e-gift"), SwfFilter(), QStringLiteral("swf"), {}});
    if (path.isEmpty()) {
        return;
    }
    if (!Generate(ctx, ToPath(path))) {
        return;
    }
    const QMessageBox::StandardButton answer =
        ctx.prompts.message(ctx.parent, QMessageBox::Question, TrText(publish::kGenerateSwfQuestion),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        const QUrl url = QUrl::fromLocalFile(path);
        if (ctx.openUrl) {
            ctx.openUrl(url);
        } else {
            QDesktopServices::openUrl(url);
        }
    } else if (answer == QMessageBox::No) {
        ctx.showInFolder(path);
    }
}

void OnGenerateExe(PublishContext& ctx) {
    const fs::path movie = ctx.tempDir / "generate.swf";
    std::error_code ec;
    fs::create_directories(ctx.tempDir, ec);
    if (!Generate(ctx, movie)) {
        return;
    }
    const bool ok = BuildExeWithPlayer(ctx, movie, ctx.parent);
    const QString text = TrText(ok ? publish::kSelfRunningCreated : publish::kSelfRunningFailed);
    if (ctx.tip) {
        ctx.tip(text);
    } else {
        Inform(ctx, ctx.parent, text);
    }
}

void OnPreviewWebPage(PublishContext& ctx) {
    std::error_code ec;
    fs::create_directories(ctx.tempDir, ec);
    const fs::path page = ctx.tempDir / "preview.html";
    std::optional<std::string> flashClip;
    try {
        if (!ctx.writeWebPage) {
            throw std::runtime_error("no web page writer");
        }
        RunBusy(ctx.parent, Tr("Making the web page..."), [&] { flashClip = ctx.writeWebPage(page); });
        if (flashClip) {
            const fs::path movie = ctx.tempDir / "generate.swf";
            if (!Generate(ctx, movie)) {
                return;
            }
            RunBusy(ctx.parent, Tr("Making the web page..."),
                    [&] { publish::WriteSelfRunningHtml(movie, ctx.dataRoot / "Ruffle", page); });
            if (ctx.tip) {
                ctx.tip(QString::fromStdString(*flashClip));
            }
        }
    } catch (const std::exception& e) {
        ctx.prompts.message(ctx.parent, QMessageBox::Critical,
                            Tr("The web page could not be written:\n%1").arg(QString::fromUtf8(e.what())),
                            QMessageBox::Ok);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(PathText(page));
    if (ctx.openUrl) {
        ctx.openUrl(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

void CreatePhotoAlbum(PublishContext& ctx) {
    const QString folder = ctx.prompts.chooseFolder(ctx.parent, CDlgFinish::LockFolderTitle());
    if (folder.isEmpty()) {
        return;
    }
    const QString path = ctx.prompts.saveFile(
        ctx.parent, {Tr("Save the photo album"), AlbumFilter(), QStringLiteral("swf"), {}});
    if (path.isEmpty()) {
        return;
    }
    AlbumProgressDialog progress(ctx.parent);
    if (ctx.prepareAlbumProgress) {
        ctx.prepareAlbumProgress(progress);
    }
    switch (progress.Run(ToPath(folder), ToPath(path), ctx.tempDir)) {
    case AlbumProgressDialog::Result::Cancelled:
        return;
    case AlbumProgressDialog::Result::Failed:
        ctx.prompts.message(ctx.parent, QMessageBox::Critical,
                            Tr("The photo album could not be written to %1:\n%2").arg(path, progress.Error()),
                            QMessageBox::Ok);
        return;
    case AlbumProgressDialog::Result::Done:
        break;
    }
    QStringList messages;
    for (const std::string& m : progress.Outcome().messages) {
        messages << QString::fromStdString(m);
    }
    if (!messages.isEmpty()) {
        ctx.prompts.message(ctx.parent, QMessageBox::Warning, messages.join(QLatin1Char('\n')),
                            QMessageBox::Ok);
    }
    const QMessageBox::StandardButton answer =
        ctx.prompts.message(ctx.parent, QMessageBox::Question,
                            Tr("The photo album has been created successfully. Do you want to view it?\n\n  "
                               "Click Yes to view it.\n  "
                               "Click No to open the folder of the photo album\n  Click Cancel to close"),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        ctx.openInPlayer(path);
    } else if (answer == QMessageBox::No) {
        ctx.showInFolder(path);
    }
}

} // namespace publish_ui
