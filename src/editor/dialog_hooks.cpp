#include "editor/dialog_hooks.h"

#include "dialogs/dlg_add_bg.h"
#include "dialogs/dlg_add_bg_choice.h"
#include "dialogs/dlg_open_project.h"
#include "dialogs/dlg_project_settings.h"
#include "dialogs/dlg_tips.h"
#include "dialogs/publish_actions.h"
#include "editor/document.h"
#include "editor/movie_job.h"
#include "movie/gift_builder.h"
#include "web/page_lang.h"
#include "web/page_writer.h"

#if CW_HAVE_PLAYER
#include "player/dlg_preview.h"
#include "player/open_in_player.h"
#endif

#include <QLocale>
#include <QMessageBox>

#include <memory>

namespace editor::hooks {

namespace {

#if !CW_HAVE_PLAYER
void NotThereYet(Context& ctx, const QString& feature) {
    QMessageBox::information(
        ctx.parent, feature,
        QObject::tr("%1 is not available in this version of Cardwright yet.").arg(feature));
}
#endif

// What the publishing commands need, from the window's context. The work runs on after this returns: the
// functions keep copies or pointers to what the window owns, never references to this call's locals.
publish_ui::PublishContext Publishing(Context& ctx) {
    publish_ui::PublishContext publish =
        publish_ui::PublishContext::ForWindow(ctx.parent, ctx.workspace.DataRoot(), ctx.workspace.TempDir());
    // Everything that builds runs on workers from this snapshot of the project, with builders of their own.
    auto snapshot = std::make_shared<const model::Project>(ctx.document.project().Clone());
    const app::AppState state = ctx.state;
    const app::Workspace workspace = ctx.workspace;
    app::ErrorReporter* windowReporter = &ctx.reporter;
    publish.generate = [snapshot, state, workspace,
                        windowReporter](const std::filesystem::path& movie,
                                        const dialogs::TaskControl& control) -> std::function<void()> {
        KeepingReporter reporter;
        movie::GiftBuilder builder(*snapshot, state, workspace, reporter);
        builder.SetCardProgress([&control](int done, int total) {
            control.Report(done, total);
            return !control.StopRequested();
        });
        builder.GenerateSWF(movie, nullptr, 1, 0);
        // What the builder reported is shown on the GUI thread once the movie is written.
        return [kept = std::move(reporter.kept), windowReporter] { kept.ShowThrough(*windowReporter); };
    };
    publish.rescueSave = ctx.rescueSave;
    publish.tip = ctx.showTip;
    publish.ended = ctx.publishEnded;
    const std::string email = snapshot->settings.m_strEmail;
    publish.authorEmail = [email] { return email; };
    // The web page's reports go to the log, not to message boxes from a worker thread.
    app::Log* log = ctx.log;
    const std::string lang = web::LanguageTag(QLocale::system().name().toStdString());
    publish.writeWebPage = [snapshot, state, workspace, log,
                            lang](const std::filesystem::path& page) -> std::optional<std::string> {
        app::ConsoleReporter reporter(log);
        movie::GiftBuilder builder(*snapshot, state, workspace, reporter);
        if (const std::optional<std::filesystem::path> clip = web::FlashClipOf(*snapshot, builder)) {
            return web::FlashClipMessage(*clip);
        }
        web::WriteWebPage(builder, *snapshot, web::PageOptions{lang}, page);
        return std::nullopt;
    };
    publish.flashClip = [snapshot, state, workspace, log]() -> std::optional<std::string> {
        app::ConsoleReporter reporter(log);
        const movie::GiftBuilder builder(*snapshot, state, workspace, reporter);
        if (const std::optional<std::filesystem::path> clip = web::FlashClipOf(*snapshot, builder)) {
            return web::FlashClipMessage(*clip);
        }
        return std::nullopt;
    };
#if CW_HAVE_PLAYER
    publish.openInPlayer = [tip = ctx.showTip](const QString& target) {
        if (!player::OpenInPlayer(target, false)) {
            tip(QObject::tr("The player could not be started for %1.").arg(target));
        }
    };
#endif
    return publish;
}

} // namespace

void Finish(Context& ctx) {
    publish_ui::PublishContext publish = Publishing(ctx);
    publish_ui::OnFinish(publish);
}

void GenerateSwf(Context& ctx) {
    publish_ui::PublishContext publish = Publishing(ctx);
    publish_ui::OnGenerateSwf(publish);
}

void GenerateExe(Context& ctx) {
    publish_ui::PublishContext publish = Publishing(ctx);
    publish_ui::OnGenerateExe(publish);
}

void PreviewWebPage(Context& ctx) {
    publish_ui::PublishContext publish = Publishing(ctx);
    publish_ui::OnPreviewWebPage(publish);
}

void CreatePhotoAlbum(Context& ctx) {
    publish_ui::PublishContext publish = Publishing(ctx);
    publish_ui::CreatePhotoAlbum(publish);
}

std::optional<model::Project> ProjectSettings(Context& ctx) {
    // The dialog edits a copy, so the whole change (on OK or by a picker before Cancel) becomes one step.
    model::Project working = ctx.document.project().Clone();
    CDlgProjectSettings dialog(working, ctx.state, ctx.workspace, ctx.parent);
    dialog.exec();
    if (working == ctx.document.project()) {
        return std::nullopt;
    }
    return working;
}

void TipOfToday(Context& ctx) {
    CDlgTips(ctx.workspace.DataRoot(), ctx.parent).ShowModal();
}

std::optional<Background> AddPics(Context& ctx, const model::CCardInfo& card) {
    const std::string kind = "background";
    CDlgAddBg dialog(ctx.workspace.DataRoot(), ctx.workspace.WorkDir(), ctx.parent);
    dialog.m_strValue = QString::fromStdString(card.m_strBackground);
    dialog.m_strKind = QString::fromStdString(kind);
    dialog.m_nThumbWidth = 120;
    dialog.m_nThumbHeight = 100;
    const add_bg::Alignment align = add_bg::SplitAlignCode(card.m_nBgAlign);
    dialog.m_nPlacement = align.placement;
    dialog.m_nPosition = align.position;
    dialog.m_bKeepAspect = align.keepAspect ? 1 : 0;
    dialog.m_pLog = ctx.log;
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Background{
        add_bg::ComposeStoredValue(kind, dialog.m_nMode, dialog.m_strValue.toStdString()),
        add_bg::ComposeAlignCode({dialog.m_nPlacement, dialog.m_nPosition, dialog.m_bKeepAspect != 0})};
}

OpenChoice ChooseProject(Context& ctx) {
    CDlgOpenProject dialog(ctx.workspace.DataRoot(), ctx.parent);
    switch (dialog.exec()) {
    case QDialog::Accepted:
        return {OpenChoice::Kind::Open, dialog.m_strProjectPath};
    case CDlgOpenProject::kResultNew:
        return {OpenChoice::Kind::New, {}};
    default:
        return {};
    }
}

void ShowPreview(Context& ctx, const QString& moviePath) {
#if CW_HAVE_PLAYER
    CDlgPreview dialog(ctx.parent, ctx.warmPlayer);
    dialog.m_strMovie = moviePath;
    dialog.exec();
#else
    Q_UNUSED(moviePath);
    NotThereYet(ctx, QObject::tr("Preview"));
#endif
}

void OpenInPlayer(Context& ctx, const QString& target, bool maximized) {
#if CW_HAVE_PLAYER
    if (!player::OpenInPlayer(target, maximized)) {
        ctx.showTip(QObject::tr("The player could not be started for %1.").arg(target));
    }
#else
    Q_UNUSED(maximized);
    NotThereYet(ctx, QObject::tr("The player for %1").arg(target));
#endif
}

void About(QWidget* parent) {
    QMessageBox::about(parent, QObject::tr("About Cardwright"),
                       QObject::tr("<h3>Cardwright %1</h3>"
                                   "<p>Makes interactive greeting e-gifts: cards, links, scores and music, "
                                   "played as one Flash movie in any browser.</p>"
                                   "<p>Movies are shown with Ruffle.</p>")
                           .arg(QStringLiteral(CW_VERSION)));
}

} // namespace editor::hooks
