// The editor's entry points into dialogs and programs that live outside the window: one function per
// dialog, so each can be swapped for the real one in this one place. Until a dialog exists, its function
// says plainly that the feature is not there yet.
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

namespace movie {
class GiftBuilder;
}

namespace editor {

class Document;

namespace hooks {

// What a dialog may use: the window as parent, the open project (read it through the document, change
// it only through the document's edits so the change can be undone), the process state, the folders,
// the movie builder, the error report and the window's hint balloon.
struct Context {
    QWidget* parent;
    Document& document;
    app::AppState& state;
    const app::Workspace& workspace;
    movie::GiftBuilder& builder;
    app::ErrorReporter& reporter;
    std::function<void(const QString&)> showTip;
};

// Finish and export (the rescue save is already made).
void Finish(Context& ctx);
void GenerateSwf(Context& ctx);
void GenerateExe(Context& ctx);
// The project settings dialog on the current settings (the rescue save is already made); the settings
// to apply when the user accepts, nothing when they cancel.
std::optional<model::ProjectSettings> ProjectSettings(Context& ctx);
void CreatePhotoAlbum(Context& ctx);
void TipOfToday(Context& ctx);

// The background of a card: a colour "#RRGGBB" or "Background\" + file name, and its placement code.
struct Background {
    std::string reference;
    int align = 4;
};
std::optional<Background> AddPics(Context& ctx, const model::CCardInfo& card);

// A text colour for a colour button.
std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial, const QString& title);

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
