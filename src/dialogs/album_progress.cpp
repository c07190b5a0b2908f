#include "dialogs/album_progress.h"

#include "swf/error.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QMetaObject>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace publish_ui {

AlbumProgressDialog::AlbumProgressDialog(QWidget* parent) : QProgressDialog(parent) {
    setWindowTitle(tr("Create Photo Album"));
    setLabelText(tr("Looking for pictures..."));
    setCancelButtonText(tr("Cancel"));
    setWindowModality(Qt::WindowModal);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    setRange(0, 0);
    setAccessibleName(windowTitle());
}

void AlbumProgressDialog::Show(int number, int total) {
    setRange(0, total);
    setValue(number - 1);
    setLabelText(tr("%1 of %2").arg(number).arg(total));
    emit progressed(number, total);
}

AlbumProgressDialog::Result AlbumProgressDialog::Run(const std::filesystem::path& folder,
                                                     const std::filesystem::path& albumPath,
                                                     const std::filesystem::path& tempDir) {
    std::stop_source stop;
    const QMetaObject::Connection onCancel = connect(this, &QProgressDialog::canceled, this, [this, &stop] {
        stop.request_stop();
        setLabelText(tr("Cancelling..."));
    });
    show();

    QPointer<AlbumProgressDialog> self(this);
    std::exception_ptr failure;
    album::AlbumOutcome outcome;
    bool cancelled = false;
    auto work = [&, token = stop.get_token()] {
        try {
            outcome = album::CreatePhotoAlbum(
                folder, albumPath, tempDir,
                [&](int number, int total, const std::filesystem::path&) {
                    QMetaObject::invokeMethod(
                        self, [self, number, total] { self->Show(number, total); }, Qt::QueuedConnection);
                    if (workerHook) {
                        workerHook(number, total, token);
                    }
                },
                token);
        } catch (const album::AlbumCancelled&) {
            cancelled = true;
        } catch (...) {
            failure = std::current_exception();
        }
    };
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(work));
    if (!watcher.isFinished()) {
        loop.exec();
    }
    watcher.waitForFinished();
    // Progress queued by the worker arrives before the end is shown.
    QCoreApplication::sendPostedEvents(this);
    disconnect(onCancel);

    Result result = Result::Done;
    if (cancelled) {
        result = Result::Cancelled;
    } else if (failure) {
        result = Result::Failed;
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            m_error = QString::fromStdString(e.what());
        }
    } else {
        m_outcome = std::move(outcome);
        const int total = int(m_outcome.pictures + m_outcome.unreadable.size() + m_outcome.leftOut.size());
        setRange(0, total);
        setValue(total);
        setLabelText(tr("%1 of %2").arg(total).arg(total));
        emit progressed(total, total);
    }
    hide();
    return result;
}

} // namespace publish_ui
