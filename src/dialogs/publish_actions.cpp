#include "dialogs/publish_actions.h"

#include "dialogs/album_progress.h"
#include "dialogs/background_task.h"
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
#include <QFileInfo>
#include <QProcess>

#include <memory>

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

using Context = std::shared_ptr<PublishContext>;

// Runs `work` on a worker thread while a busy window shows; `then` gets its end on the GUI thread.
void RunBusy(QWidget* parent, const QString& label, std::function<void()> work,
             std::function<void(const dialogs::TaskEnd&)> then) {
    dialogs::RunTask(
        parent, {label, false}, [work = std::move(work)](const dialogs::TaskControl&) { work(); },
        std::move(then));
}

void End(const Context& ctx) {
    if (ctx->ended) {
        ctx->ended();
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

// Generates the movie on a worker, with progress and Cancel; `then` gets false when it was not written
// (the user was told) or the user stopped it.
void Generate(const Context& ctx, const fs::path& movie, std::function<void(bool written)> then) {
    auto showLater = std::make_shared<std::function<void()>>();
    dialogs::RunTask(
        ctx->parent, {Tr("Making the e-gift..."), true},
        [ctx, movie, showLater](const dialogs::TaskControl& control) {
            *showLater = ctx->generate(movie, control);
        },
        [ctx, movie, showLater, then = std::move(then)](const dialogs::TaskEnd& end) {
            if (*showLater) {
                (*showLater)();
            }
            if (end.cancelled) {
                then(false); // the user stopped it: the flow ends without a word
                return;
            }
            if (end.failure) {
                ctx->prompts.message(
                    ctx->parent, QMessageBox::Critical,
                    Tr("The e-gift could not be written to %1:\n%2").arg(PathText(movie), end.FailureText()),
                    QMessageBox::Ok);
                then(false);
                return;
            }
            then(true);
        });
}

void SendMail(const Context& ctx, const fs::path& movie, const std::optional<fs::path>& zip,
              const std::optional<fs::path>& page, std::function<void()> then) {
    auto mail = std::make_shared<const publish::CSimpleMail>(
        publish::FinishMail(ctx->authorEmail ? ctx->authorEmail() : std::string(), movie, zip, page));
    auto outcome = std::make_shared<publish::MailOutcome>();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The mail program may take its time to open its window; the editor keeps painting meanwhile.
    RunBusy(
        ctx->parent, Tr("Handing the e-gift to your mail program..."),
        [ctx, mail, movie, outcome] {
            *outcome = mail->Send(ctx->tempDir, publish::DraftPathFor(movie), ctx->mailProgram);
        },
        [ctx, outcome, then = std::move(then)](const dialogs::TaskEnd& end) {
            QApplication::restoreOverrideCursor();
            if (end.failure) {
                outcome->result = publish::MailResult::Failed;
                outcome->reason = end.FailureText().toStdString();
            }
            switch (outcome->result) {
            case publish::MailResult::Handed:
                break;
            case publish::MailResult::DraftWritten:
                if (ctx->prompts.message(ctx->parent, QMessageBox::Information,
                                         Tr("No mail program answered, so the mail and its attachments were "
                                            "saved as a draft:\n%1\n\nOpen it with your mail program to send "
                                            "it.")
                                             .arg(PathText(outcome->draft)),
                                         QMessageBox::Open | QMessageBox::Ok) == QMessageBox::Open) {
                    ctx->showInFolder(PathText(outcome->draft));
                }
                break;
            case publish::MailResult::Failed:
                ctx->prompts.message(
                    ctx->parent, QMessageBox::Critical,
                    Tr("Sending mail failed, and the mail could not be saved as a draft:\n%1")
                        .arg(QString::fromStdString(outcome->reason)),
                    QMessageBox::Ok);
                break;
            }
            then();
        });
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

namespace {

// The page with the player for `moviePath` at `target` (nullopt: the user chose no file), on a worker.
void BuildPlayerPage(const Context& ctx, const fs::path& moviePath, QWidget* owner,
                     std::optional<fs::path> target, SelfRunningDone then) {
    auto outcome = std::make_shared<publish::SelfRunningOutcome>();
    RunBusy(
        owner, Tr("Making the self-running e-gift..."),
        [ctx, moviePath, target, outcome] {
            *outcome = publish::BuildExeWithPlayer(moviePath, ctx->dataRoot / "Ruffle",
                                                   [&](const fs::path&) { return target; });
        },
        [outcome, then = std::move(then)](const dialogs::TaskEnd& end) {
            if (end.failure) {
                *outcome = {false, std::nullopt, end.FailureText().toStdString()};
            }
            then(outcome->ok, outcome->written);
        });
}

void BuildExe(const Context& ctx, const fs::path& moviePath, QWidget* owner, SelfRunningDone then) {
    std::error_code ec;
    if (!fs::is_regular_file(moviePath, ec)) {
        then(false, std::nullopt); // nothing to make a page of: no name is asked
        return;
    }
    // A movie in the work folder's Temp (Generate self-running) is offered as gift.html at home.
    const bool inTemp = moviePath.parent_path() == ctx->tempDir;
    const QString suggested = inTemp ? QDir::home().filePath(QStringLiteral("gift.html"))
                                     : PathText(publish::DefaultSelfRunningPath(moviePath));
    // The name is asked here, on the GUI thread; the page is written by a worker.
    const QString path = ctx->prompts.saveFile(owner, {Tr("Save the self-running e-gift"),
                                                       Tr("Web pages (*.html);;All files (*)"),
                                                       QStringLiteral("html"), suggested});
    const std::optional<fs::path> target =
        path.isEmpty() ? std::nullopt : std::optional<fs::path>(ToPath(path));
    if (!target || !ctx->writeWebPage) {
        BuildPlayerPage(ctx, moviePath, owner, target, std::move(then));
        return;
    }
    auto flashClip = std::make_shared<std::optional<std::string>>();
    RunBusy(
        owner, Tr("Making the web page..."),
        [ctx, target, flashClip] { *flashClip = ctx->writeWebPage(*target); },
        [ctx, moviePath, owner, target, flashClip, then = std::move(then)](const dialogs::TaskEnd& end) {
            if (end.failure) {
                then(false, std::nullopt);
            } else if (!*flashClip) {
                then(true, target);
            } else {
                // A Flash clip: the page with the player, and the user is told why.
                ctx->prompts.message(owner, QMessageBox::Information, QString::fromStdString(**flashClip),
                                     QMessageBox::Ok);
                BuildPlayerPage(ctx, moviePath, owner, target, then);
            }
        });
}

void FinishWith(const Context& ctx, const publish::FinishChoices& choices) {
    publish::FinishSteps steps;
    steps.inform = [ctx](std::string_view text) { Inform(*ctx, ctx->parent, TrText(text)); };
    steps.buildZip = [ctx](const fs::path& archive, const fs::path& folder, std::string_view password,
                           std::function<void(std::vector<publish::PublishMessage>)> then) {
        auto messages = std::make_shared<std::vector<publish::PublishMessage>>();
        RunBusy(
            ctx->parent, Tr("Locking the folder into the zip..."),
            [archive, folder, password = std::string(password), messages] {
                *messages = publish::BuildLockedZip(archive, folder, password);
            },
            [messages, then = std::move(then)](const dialogs::TaskEnd& end) {
                if (end.failure) {
                    *messages = {{publish::MessageIcon::Stop, std::string(publish::kZipCreateFailed),
                                  end.FailureText().toStdString()}};
                }
                then(std::move(*messages));
            });
    };
    steps.show = [ctx](const publish::PublishMessage& m) {
        ctx->prompts.message(ctx->parent, IconOf(m.icon), QString::fromStdString(m.text), QMessageBox::Ok);
    };
    steps.generate = [ctx](const fs::path& movie, std::function<void(bool)> then) {
        Generate(ctx, movie, std::move(then));
    };
    steps.makeSelfRunning = [ctx](const fs::path& movie, std::function<void(std::optional<fs::path>)> then) {
        BuildExe(ctx, movie, ctx->parent,
                 [ctx, then = std::move(then)](bool ok, std::optional<fs::path> page) {
                     if (!ok) {
                         ctx->prompts.message(ctx->parent, QMessageBox::NoIcon,
                                              TrText(publish::kSelfRunningFailed), QMessageBox::Ok);
                     }
                     then(std::move(page));
                 });
    };
    steps.mail = [ctx](const fs::path& movie, const std::optional<fs::path>& zip,
                       const std::optional<fs::path>& page,
                       std::function<void()> then) { SendMail(ctx, movie, zip, page, std::move(then)); };
    steps.ask = [ctx](std::string_view question) {
        return AnswerOf(ctx->prompts.message(ctx->parent, QMessageBox::Question, TrText(question),
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    };
    steps.view = [ctx](const fs::path& movie) { ctx->openInPlayer(PathText(movie)); };
    steps.showInFolder = [ctx](const fs::path& movie) { ctx->showInFolder(PathText(movie)); };
    steps.ended = [ctx] { End(ctx); };
    publish::RunFinish(choices, std::move(steps));
}

// Opens a file with the desktop's association (ctx.openUrl when set).
void OpenWithDesktop(const Context& ctx, const fs::path& file) {
    const QUrl url = QUrl::fromLocalFile(PathText(file));
    if (ctx->openUrl) {
        ctx->openUrl(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

void TellPageFailed(const Context& ctx, const QString& why) {
    ctx->prompts.message(ctx->parent, QMessageBox::Critical,
                         Tr("The web page could not be written:\n%1").arg(why), QMessageBox::Ok);
}

} // namespace

void BuildExeWithPlayer(PublishContext ctx, const fs::path& moviePath, QWidget* owner, SelfRunningDone then) {
    BuildExe(std::make_shared<PublishContext>(std::move(ctx)), moviePath, owner, std::move(then));
}

void OnFinish(PublishContext context) {
    const Context ctx = std::make_shared<PublishContext>(std::move(context));
    if (ctx->rescueSave) {
        try {
            ctx->rescueSave();
        } catch (const std::exception&) {
            // The rescue save is silent by design; Finish goes on.
        }
    }
    CDlgFinish dialog(ctx->prompts, ctx->parent);
    if (ctx->flashClip) {
        if (const std::optional<std::string> line = ctx->flashClip()) {
            dialog.SetSelfRunningNote(QString::fromStdString(*line));
        }
    }
    const int result = ctx->runDialog ? ctx->runDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        End(ctx);
        return;
    }
    FinishWith(ctx, dialog.Choices());
}

void OnGenerateSwf(PublishContext context) {
    const Context ctx = std::make_shared<PublishContext>(std::move(context));
    const QString path =
        ctx->prompts.saveFile(ctx->parent, {Tr("Save the e-gift"), SwfFilter(), QStringLiteral("swf"), {}});
    if (path.isEmpty()) {
        End(ctx);
        return;
    }
    Generate(ctx, ToPath(path), [ctx, path](bool written) {
        if (written) {
            const QMessageBox::StandardButton answer = ctx->prompts.message(
                ctx->parent, QMessageBox::Question, TrText(publish::kGenerateSwfQuestion),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Yes) {
                OpenWithDesktop(ctx, ToPath(path));
            } else if (answer == QMessageBox::No) {
                ctx->showInFolder(path);
            }
        }
        End(ctx);
    });
}

void OnGenerateExe(PublishContext context) {
    const Context ctx = std::make_shared<PublishContext>(std::move(context));
    const fs::path movie = ctx->tempDir / "generate.swf";
    std::error_code ec;
    fs::create_directories(ctx->tempDir, ec);
    Generate(ctx, movie, [ctx, movie](bool written) {
        if (!written) {
            End(ctx);
            return;
        }
        BuildExe(ctx, movie, ctx->parent, [ctx](bool ok, const std::optional<fs::path>&) {
            const QString text = TrText(ok ? publish::kSelfRunningCreated : publish::kSelfRunningFailed);
            if (ctx->tip) {
                ctx->tip(text);
            } else {
                Inform(*ctx, ctx->parent, text);
            }
            End(ctx);
        });
    });
}

void OnPreviewWebPage(PublishContext context) {
    const Context ctx = std::make_shared<PublishContext>(std::move(context));
    std::error_code ec;
    fs::create_directories(ctx->tempDir, ec);
    const fs::path page = ctx->tempDir / "preview.html";
    if (!ctx->writeWebPage) {
        TellPageFailed(ctx, Tr("no web page writer"));
        End(ctx);
        return;
    }
    auto flashClip = std::make_shared<std::optional<std::string>>();
    RunBusy(
        ctx->parent, Tr("Making the web page..."),
        [ctx, page, flashClip] { *flashClip = ctx->writeWebPage(page); },
        [ctx, page, flashClip](const dialogs::TaskEnd& end) {
            if (end.failure) {
                TellPageFailed(ctx, end.FailureText());
                End(ctx);
                return;
            }
            if (!*flashClip) {
                OpenWithDesktop(ctx, page);
                End(ctx);
                return;
            }
            // A Flash clip: the movie and the page with the player, and a tip saying why.
            const fs::path movie = ctx->tempDir / "generate.swf";
            Generate(ctx, movie, [ctx, page, movie, flashClip](bool written) {
                if (!written) {
                    End(ctx);
                    return;
                }
                RunBusy(
                    ctx->parent, Tr("Making the web page..."),
                    [ctx, movie, page] {
                        publish::WriteSelfRunningHtml(movie, ctx->dataRoot / "Ruffle", page);
                    },
                    [ctx, page, flashClip](const dialogs::TaskEnd& end) {
                        if (end.failure) {
                            TellPageFailed(ctx, end.FailureText());
                        } else {
                            if (ctx->tip) {
                                ctx->tip(QString::fromStdString(**flashClip));
                            }
                            OpenWithDesktop(ctx, page);
                        }
                        End(ctx);
                    });
            });
        });
}

void CreatePhotoAlbum(PublishContext context) {
    const Context ctx = std::make_shared<PublishContext>(std::move(context));
    const QString folder = ctx->prompts.chooseFolder(ctx->parent, CDlgFinish::LockFolderTitle());
    const QString path =
        folder.isEmpty()
            ? QString()
            : ctx->prompts.saveFile(ctx->parent,
                                    {Tr("Save the photo album"), AlbumFilter(), QStringLiteral("swf"), {}});
    if (path.isEmpty()) {
        End(ctx);
        return;
    }
    auto* progress = new AlbumProgressDialog(ctx->parent);
    if (ctx->prepareAlbumProgress) {
        ctx->prepareAlbumProgress(*progress);
    }
    QObject::connect(
        progress, &AlbumProgressDialog::ended, progress,
        [ctx, progress, path](AlbumProgressDialog::Result result) {
            progress->deleteLater();
            switch (result) {
            case AlbumProgressDialog::Result::Cancelled:
                End(ctx);
                return;
            case AlbumProgressDialog::Result::Failed:
                ctx->prompts.message(
                    ctx->parent, QMessageBox::Critical,
                    Tr("The photo album could not be written to %1:\n%2").arg(path, progress->Error()),
                    QMessageBox::Ok);
                End(ctx);
                return;
            case AlbumProgressDialog::Result::Done:
                break;
            }
            QStringList messages;
            for (const std::string& m : progress->Outcome().messages) {
                messages << QString::fromStdString(m);
            }
            if (!messages.isEmpty()) {
                ctx->prompts.message(ctx->parent, QMessageBox::Warning, messages.join(QLatin1Char('\n')),
                                     QMessageBox::Ok);
            }
            const QMessageBox::StandardButton answer = ctx->prompts.message(
                ctx->parent, QMessageBox::Question,
                Tr("The photo album has been created successfully. Do you want to view it?\n\n  "
                   "Click Yes to view it.\n  "
                   "Click No to open the folder of the photo album\n  Click Cancel to close"),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Yes) {
                ctx->openInPlayer(path);
            } else if (answer == QMessageBox::No) {
                ctx->showInFolder(path);
            }
            End(ctx);
        });
    progress->Start(ToPath(folder), ToPath(path), ctx->tempDir);
}

} // namespace publish_ui
