#include "editor/dialog_hooks.h"

#if CW_HAVE_PLAYER
#include "player/dlg_preview.h"
#include "player/open_in_player.h"
#endif

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace editor::hooks {

namespace {

void NotThereYet(Context& ctx, const QString& feature) {
    QMessageBox::information(
        ctx.parent, feature,
        QObject::tr("%1 is not available in this version of Cardwright yet.").arg(feature));
}

QString ColourName(const std::string& reference) {
    const QColor colour(QString::fromStdString(reference));
    return colour.isValid() ? colour.name() : QStringLiteral("#ffffff");
}

} // namespace

void Finish(Context& ctx) {
    NotThereYet(ctx, QObject::tr("Finish"));
}

void GenerateSwf(Context& ctx) {
    NotThereYet(ctx, QObject::tr("Generate SWF"));
}

void GenerateExe(Context& ctx) {
    NotThereYet(ctx, QObject::tr("Generate EXE"));
}

std::optional<model::ProjectSettings> ProjectSettings(Context& ctx) {
    NotThereYet(ctx, QObject::tr("Project Settings"));
    return std::nullopt;
}

void CreatePhotoAlbum(Context& ctx) {
    NotThereYet(ctx, QObject::tr("Create Photo Album"));
}

void TipOfToday(Context& ctx) {
    NotThereYet(ctx, QObject::tr("Tip of today"));
}

std::optional<Background> AddPics(Context& ctx, const model::CCardInfo& card) {
    // Until the picture picker is there, a plain colour background can still be chosen.
    const QColor colour = QColorDialog::getColor(QColor(ColourName(card.m_strBackground)), ctx.parent,
                                                 QObject::tr("Background colour (pictures come later)"));
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return Background{colour.name().toUpper().toStdString(), card.m_nBgAlign};
}

std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial, const QString& title) {
    const QColor colour = QColorDialog::getColor(initial, parent, title);
    return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
}

OpenChoice ChooseProject(Context& ctx) {
    const QString start = QString::fromStdString((ctx.workspace.DataRoot() / "Themes").string());
    const QString path = QFileDialog::getOpenFileName(ctx.parent, QObject::tr("Open"), start,
                                                      QObject::tr("Cardwright projects (*.cwp)"));
    if (path.isEmpty()) {
        return {};
    }
    return {OpenChoice::Kind::Open, path};
}

void ShowPreview(Context& ctx, const QString& moviePath) {
#if CW_HAVE_PLAYER
    CDlgPreview dialog(ctx.parent);
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
