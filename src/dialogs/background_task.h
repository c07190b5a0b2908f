// Long work on a worker thread, with the window answering meanwhile: a progress window shows when the work
// takes longer than a moment (window-modal, so the user does not start it twice), a Cancel button when the
// work can stop, and the continuation runs on the GUI thread once the work has ended. No event loop of its
// own: the caller returns at once and the application's loop carries on.
//
//     dialogs::RunTask(this, {tr("Making the movie..."), true},
//         [=](const dialogs::TaskControl& control) { Build(control); },       // on the worker
//         [=](const dialogs::TaskEnd& end) { if (end.Ok()) Show(); });          // on the GUI thread
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <stop_token>

class QWidget;

namespace dialogs {

// What the work may do from its worker thread: say how far it is, and see whether it should stop.
class TaskControl {
public:
    TaskControl(std::stop_token stop, std::function<void(int done, int total)> report)
        : m_stop(std::move(stop)), m_report(std::move(report)) {}

    // `done` of `total` steps are done (shown in the progress window).
    void Report(int done, int total) const {
        if (m_report) {
            m_report(done, total);
        }
    }
    // True once the user pressed Cancel.
    bool StopRequested() const { return m_stop.stop_requested(); }
    const std::stop_token& Token() const { return m_stop; }

private:
    std::stop_token m_stop;
    std::function<void(int done, int total)> m_report;
};

// How the work ended.
struct TaskEnd {
    std::exception_ptr failure; // what the work threw, or null
    bool cancelled = false;     // the user pressed Cancel (the work may still have ended normally)

    bool Ok() const { return !failure && !cancelled; }
    // The failure's text (what() of a std::exception), empty when there is none.
    QString FailureText() const;
};

struct TaskOptions {
    QString label;            // what the progress window says
    bool cancellable = false; // a Cancel button that asks the work to stop
    int showAfterMs = 400;    // quicker work shows no window at all
};

// Starts `work` on a worker thread and returns at once; `then` runs on the GUI thread when it has ended.
// The progress window belongs to `parent` (may be null); when `parent` is gone by then, so is the one
// `then` would have answered, and `then` is not called.
void RunTask(QWidget* parent, const TaskOptions& options, std::function<void(const TaskControl&)> work,
             std::function<void(const TaskEnd&)> then);

} // namespace dialogs
