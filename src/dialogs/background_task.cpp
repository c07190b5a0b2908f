#include "dialogs/background_task.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace dialogs {

namespace {

// One task: its progress window, its stop request and what the worker threw. Deletes itself once the
// continuation has run.
class TaskRun : public QObject {
public:
    TaskRun(QWidget* parent, const TaskOptions& options, std::function<void(const TaskEnd&)> then)
        : m_then(std::move(then)), m_parent(parent), m_orphan(parent == nullptr),
          m_progress(new QProgressDialog(parent)), m_bar(new QProgressBar(m_progress)) {
        // The bar is set directly: QProgressDialog::setValue runs the event loop of a modal window.
        m_progress->setBar(m_bar);
        m_progress->setLabelText(options.label);
        m_progress->setWindowTitle(options.label);
        m_progress->setAccessibleName(options.label);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setRange(0, 0);
        if (!options.cancellable) {
            m_progress->setCancelButton(nullptr);
        }
        // Shown by our own timer: QProgressDialog's shows only once a value has been set.
        m_progress->setMinimumDuration(options.showAfterMs);
        QTimer::singleShot(options.showAfterMs, m_progress.data(), [progress = m_progress.data()] {
            if (!progress->wasCanceled()) {
                progress->show();
            }
        });
        QObject::connect(m_progress, &QProgressDialog::canceled, this, [this] {
            m_cancelled = true;
            m_stop.request_stop();
        });
        QObject::connect(&m_watcher, &QFutureWatcher<void>::finished, this, &TaskRun::ended);
    }

    void Start(std::function<void(const TaskControl&)> work) {
        const TaskControl control(m_stop.get_token(), [this](int done, int total) {
            // Queued to the window; dropped if the task has already ended.
            QMetaObject::invokeMethod(
                this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
        });
        m_watcher.setFuture(QtConcurrent::run([this, work = std::move(work), control] {
            try {
                work(control);
            } catch (...) {
                m_failure = std::current_exception();
            }
        }));
    }

private:
    void showProgress(int done, int total) {
        if (m_progress && !m_progress->wasCanceled()) {
            m_bar->setRange(0, total);
            m_bar->setValue(done);
        }
    }

    void ended() {
        if (m_progress) {
            m_progress->hide();
            m_progress->deleteLater();
        }
        const TaskEnd end{m_failure, m_cancelled};
        deleteLater();
        if (m_orphan || m_parent) {
            m_then(end);
        }
    }

    std::function<void(const TaskEnd&)> m_then;
    QPointer<QWidget> m_parent;
    bool m_orphan; // started without a parent window
    QPointer<QProgressDialog> m_progress;
    QPointer<QProgressBar> m_bar;
    QFutureWatcher<void> m_watcher;
    std::stop_source m_stop;
    std::exception_ptr m_failure;
    bool m_cancelled = false;
};

} // namespace

QString TaskEnd::FailureText() const {
    if (!failure) {
        return {};
    }
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return {};
    }
}

void RunTask(QWidget* parent, const TaskOptions& options, std::function<void(const TaskControl&)> work,
             std::function<void(const TaskEnd&)> then) {
    auto* run = new TaskRun(parent, options, std::move(then));
    run->Start(std::move(work));
}

} // namespace dialogs
