// The editor window's commands: structural edits, New, Open, Save, Preview, Finish, Project Settings,
// Add Pics, the Edit menu, the rescue save and closing.
#include "editor/cardwright_dlg.h"

#include "dialogs/background_task.h"
#include "editor/gift_check_views.h"

#include "app/log.h"
#include "app/reasons.h"
#include "app/rescue.h"
#include "app/workspace.h"
#include "dialogs/dlg_project_settings.h"
#include "dialogs/dlg_tips.h"
#include "editor/field_panels.h"
#include "editor/prompter.h"
#include "editor/qt_reporter.h"
#include "editor/tip_message.h"
#include "model/archive.h"
#include "movie/gift_builder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <memory>

namespace editor {

namespace {

const char* const kSwfFileError = "SWF file error. please check FLASH.";

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// --- Commands -------------------------------------------------------------------------------------

void CCardwrightDlg::ShowTipMessage(const QString& text) {
    m_tips->show(text);
}

void CCardwrightDlg::AddCard(int code) {
    const model::EditResult result = m_doc.addCard(code, m_sel);
    if (!result.hint.empty()) {
        ShowTipMessage(FromStd(result.hint));
    } else if (result.changed) {
        m_card->title->setFocus();
    }
}

void CCardwrightDlg::OnBtnRemovecard() {
    if (m_prompter.ask(this, tr("Do you really want to delete this card?"), false, QMessageBox::Question) !=
        Answer::Yes) {
        return;
    }
    const model::EditResult result = m_doc.removeCard(m_sel);
    if (!result.hint.empty()) {
        ShowTipMessage(FromStd(result.hint));
    }
}

void CCardwrightDlg::AddLink(int code) {
    if (m_sel.IsNothing()) {
        return;
    }
    const model::EditResult result = m_doc.addLink(code, m_sel);
    if (!result.hint.empty()) {
        ShowTipMessage(FromStd(result.hint));
    } else if (result.changed) {
        m_link->title->setFocus();
    }
}

void CCardwrightDlg::OnBtnRemovelink() {
    try {
        const model::EditResult result = m_doc.removeLink(m_sel);
        if (!result.hint.empty()) {
            ShowTipMessage(FromStd(result.hint));
        }
    } catch (const std::exception&) {
        m_reporter->report(app::reasons::kRemoveLink);
    }
}

void CCardwrightDlg::moveCard(int delta) {
    if (!m_sel.IsCard()) {
        ShowTipMessage(tr("Please select a card to move."));
        return;
    }
    m_doc.moveCard(m_sel, delta);
}

bool CCardwrightDlg::askToSaveChanges(const QString& question) {
    if (!m_doc.isModified() || m_doc.project().cards.empty()) {
        return true;
    }
    switch (m_prompter.ask(this, question, true, QMessageBox::Question)) {
    case Answer::Yes:
        return OnSave();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void CCardwrightDlg::OnNew() {
    if (!askToSaveChanges(tr("Do you want to save this gift?"))) {
        return;
    }
    app::EmptyFolder(m_workspace.TempDir());
    m_state.ApplyAfterNew();
    m_state.m_nPictureQuality = dialogs::StoredPictureQuality(); // a preference, not part of a project
    model::Project project;
    project.settings = m_doc.project().settings;
    project.New();
    m_doc.replace(std::move(project), false);
    m_builder->LoadGiftFonts(1);
    updateTitle();
    OnProjectSettings();
}

void CCardwrightDlg::OnOpen() {
    hooks::Context ctx = context();
    const hooks::OpenChoice choice = hooks::ChooseProject(ctx);
    if (choice.kind == hooks::OpenChoice::Kind::New) {
        OnNew();
    } else if (choice.kind == hooks::OpenChoice::Kind::Open &&
               askToSaveChanges(tr("Do you want to save this project?"))) {
        openProjectFile(choice.path);
    }
}

bool CCardwrightDlg::OnSave() {
    if (!m_initialised) {
        return false;
    }
    if (m_doc.project().cards.empty()) {
        ShowTipMessage(tr("The project has no cards, so there is nothing to save."));
        return false;
    }
    // A project is never saved into Temp: it is emptied when the program ends.
    QString suggested = FromStd(m_state.m_strProjectPath);
    const QString temp = FromStd(m_workspace.TempDir().string());
    if (suggested.isEmpty() || suggested.startsWith(temp)) {
        suggested = QDir::home().filePath(QStringLiteral("gift.cwp"));
    }
    QString path = m_prompter.saveFileName(this, suggested);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".cwp");
    }
    try {
        model::SaveProjectFile(m_doc.project(), path.toStdString());
    } catch (const model::SaveError& e) {
        m_log.Write(std::string("Save failed: ") + e.what() + "\n");
        m_reporter->report(app::reasons::kSaveProject);
        return !m_doc.isModified();
    }
    m_state.m_strProjectPath = QFileInfo(path).absoluteFilePath().toStdString();
    m_doc.markSaved();
    updateTitle();
    return true;
}

void CCardwrightDlg::OnPreview() {
    if (!m_initialised) {
        return;
    }
    rescueSave();
    if (m_wholeMovieRunning) {
        m_wholeMovieAgain = true;
        return;
    }
    startWholeMovie();
}

void CCardwrightDlg::startWholeMovie() {
    m_wholeMovieAgain = false;
    m_wholeMovieRunning = true;
    auto project = std::make_shared<const model::Project>(m_doc.project().Clone());
    auto built = std::make_shared<BuiltMovie>();
    dialogs::RunTask(
        this, {tr("Making the preview..."), true},
        [project, state = m_state, workspace = m_workspace, built](const dialogs::TaskControl& control) {
            KeepingReporter reporter;
            try {
                movie::GiftBuilder builder(*project, state, workspace, reporter);
                builder.SetCardProgress([&control](int done, int total) {
                    control.Report(done, total);
                    return !control.StopRequested();
                });
                builder.GenerateSWF(workspace.PreviewPath(), nullptr, 1, 0);
            } catch (const movie::GenerationStopped&) {
                // Cancelled: nothing to show.
            } catch (const std::exception& e) {
                built->error = e.what();
            }
            built->kept = std::move(reporter.kept);
        },
        [this, built](const dialogs::TaskEnd& end) { wholeMovieBuilt(*built, end.cancelled); });
}

void CCardwrightDlg::wholeMovieBuilt(const BuiltMovie& built, bool cancelled) {
    m_wholeMovieRunning = false;
    if (m_wholeMovieAgain) {
        startWholeMovie(); // the project changed since: only the newest movie is shown
        return;
    }
    if (cancelled) {
        return;
    }
    built.kept.ShowThrough(*m_reporter);
    if (!built.error.empty()) {
        m_log.Write("Preview movie not written: " + built.error + "\n");
        ShowTipMessage(QString::fromLatin1(kSwfFileError));
        return;
    }
    const QString path = FromStd(m_workspace.PreviewPath().string());
    hooks::Context ctx = context();
    emit previewOpening(path);
    hooks::ShowPreview(ctx, path);
}

void CCardwrightDlg::OnFinish() {
    if (!m_initialised || m_publishing) {
        return;
    }
    if (!m_checks->confirmFinish()) {
        return; // back to the editor, the findings in sight
    }
    publish(hooks::Finish); // Finish makes the rescue save itself
}

void CCardwrightDlg::publish(void (*command)(hooks::Context&)) {
    if (m_publishing) {
        return; // its progress window is on its way; one publishing command at a time
    }
    m_publishing = true;
    hooks::Context ctx = context();
    ctx.publishEnded = [this] {
        m_publishing = false;
        emit publishingEnded();
    };
    try {
        command(ctx);
    } catch (...) {
        m_publishing = false; // it never started; the next command may
        throw;
    }
}

void CCardwrightDlg::OnProjectSettings() {
    if (!m_initialised) {
        return;
    }
    rescueSave();
    hooks::Context ctx = context();
    if (auto project = hooks::ProjectSettings(ctx)) {
        m_doc.setWholeProject(std::move(*project), m_sel, tr("Change project settings"));
    }
}

void CCardwrightDlg::OnAddPics() {
    if (!m_sel.IsCard()) {
        return;
    }
    hooks::Context ctx = context();
    const auto choice = hooks::AddPics(ctx, *m_doc.project().cards[m_sel.card]);
    if (choice) {
        editCard(Field::Background, [&choice](CardValues& v) {
            v.background = choice->reference;
            v.bgAlign = choice->align;
            v.projectBg = 0;
        });
    }
    refreshPreview();
}

void CCardwrightDlg::openHelp(bool maximized) {
    openInPlayer(FromStd((m_workspace.DataRoot() / "CWPHelp.swf").string()), maximized);
}

void CCardwrightDlg::openInPlayer(const QString& target, bool maximized) {
    hooks::Context ctx = context();
    hooks::OpenInPlayer(ctx, target, maximized);
}

void CCardwrightDlg::editAction(const char* slot) {
    if (m_lastFocus) {
        QMetaObject::invokeMethod(m_lastFocus, slot);
    }
}

// Typing in a field is one merged step of the project's stack, so undo and redo always go through it.
void CCardwrightDlg::undo() {
    m_doc.undoStack().undo();
}

void CCardwrightDlg::redo() {
    m_doc.undoStack().redo();
}

// --- Rescue and closing ---------------------------------------------------------------------------

bool CCardwrightDlg::rescueSave() {
    if (!m_initialised || m_doc.project().cards.empty()) {
        return false;
    }
    try {
        return app::RescueSave(m_doc.project(), m_workspace);
    } catch (const model::SaveError& e) {
        m_log.Write(std::string("Rescue save failed: ") + e.what() + "\n");
        return false;
    }
}

void CCardwrightDlg::setRescueInterval(int ms) {
    m_rescueTimer.setInterval(ms);
}

int CCardwrightDlg::rescueInterval() const {
    return m_rescueTimer.interval();
}

void CCardwrightDlg::closeEvent(QCloseEvent* event) {
    try {
        if (!askToSaveChanges(tr("Do you want to save this project?"))) {
            event->ignore();
            return;
        }
        m_rescueTimer.stop();
        if (m_startupTips) {
            m_startupTips->close();
        }
        m_prompter.feedback(this);
    } catch (const std::exception&) {
        m_reporter->report(app::reasons::kClose);
    }
    event->accept();
}

} // namespace editor
