// The editor's entry points into dialogs and programs that live outside the window: one function per
// dialog, so the window's commands stay short and each dialog is set up in this one place.
#pragma once

#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"

#include <QColor>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace app {
class Log;
}

namespace movie {
class GiftBuilder;
}
namespace player {
class RuffleView;
}

namespace editor {

class Document;

namespace hooks {

// What a dialog may use: the window as parent, the open project (read it through the document, change
// it only through the document's edits so the change can be undone), the process state, the folders,
// the movie builder, the error report, the run log, the window's hint balloon and its rescue save.
struct Context {
    QWidget* parent;
    Document& document;
    app::AppState& state;
    const app::Workspace& workspace;
    movie::GiftBuilder& builder;
    app::ErrorReporter& reporter;
    app::Log* log;
    std::function<void(const QString&)> showTip;
    std::function<void()> rescueSave;
    // A warm player the Preview dialog may borrow, or null.
    player::RuffleView* warmPlayer = nullptr;
    // A publishing command started with this context is over (its work runs on after the call returns).
    std::function<void()> publishEnded;
};

// Finish (rescue save, the Finish dialog, the files, mail) and the Export and Tools commands. Each returns
// once its work has started; `publishEnded` follows when it is over. The movie is built by a worker from
// a copy of the project taken now, so later edits do not reach it.
void Finish(Context& ctx);
void GenerateSwf(Context& ctx);
void GenerateExe(Context& ctx);
void PreviewWebPage(Context& ctx);
void CreatePhotoAlbum(Context& ctx);
// The project settings dialog on a copy of the open project. The changed copy when anything differs
// afterwards (the pickers write at once, so a Cancel may still have changed the background, buttons or
// music), nothing when it is unchanged.
std::optional<model::Project> ProjectSettings(Context& ctx);
void TipOfToday(Context& ctx);

// The background of a card: a colour "#RRGGBB" or "Background\" + file name, and its placement code.
struct Background {
    std::string reference;
    int align = 4;
};
std::optional<Background> AddPics(Context& ctx, const model::CCardInfo& card);

// The open-project dialog: a file to open, the New button, or nothing.
struct OpenChoice {
    enum class Kind { Cancel, New, Open };
    Kind kind = Kind::Cancel;
    QString path;
};
OpenChoice ChooseProject(Context& ctx);

// The whole movie at `moviePath` in the preview dialog.
void ShowPreview(Context& ctx, const QString& moviePath);
// A movie file or web address in the stand-alone player.
void OpenInPlayer(Context& ctx, const QString& target, bool maximized);

void About(QWidget* parent);

} // namespace hooks
} // namespace editor
