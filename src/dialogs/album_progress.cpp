#include "dialogs/album_progress.h"

#include "swf/error.h"

#include <QFutureWatcher>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace publish_ui {

AlbumProgressDialog::AlbumProgressDialog(QWidget* parent)
    : QProgressDialog(parent), m_bar(new QProgressBar(this)) {
    // The bar is set directly: QProgressDialog::setValue runs the event loop of a modal window.
    setBar(m_bar);
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
    m_bar->setRange(0, total);
    m_bar->setValue(number - 1);
    setLabelText(tr("%1 of %2").arg(number).arg(total));
    emit progressed(number, total);
}

void AlbumProgressDialog::Start(const std::filesystem::path& folder, const std::filesystem::path& albumPath,
                                const std::filesystem::path& tempDir) {
    connect(this, &QProgressDialog::canceled, this, [this] {
        m_stop.request_stop();
        setLabelText(tr("Cancelling..."));
    });
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &AlbumProgressDialog::Finished);
    show();

    m_build = std::make_shared<Build>();
    QPointer<AlbumProgressDialog> self(this);
    m_watcher.setFuture(QtConcurrent::run(
        [self, build = m_build, hook = workerHook, folder, albumPath, tempDir, token = m_stop.get_token()] {
            try {
                build->outcome = album::CreatePhotoAlbum(
                    folder, albumPath, tempDir,
                    [&](int number, int total, const std::filesystem::path&) {
                        QMetaObject::invokeMethod(
                            self, [self, number, total] { self->Show(number, total); }, Qt::QueuedConnection);
                        if (hook) {
                            hook(number, total, token);
                        }
                    },
                    token);
            } catch (const album::AlbumCancelled&) {
                build->cancelled = true;
            } catch (...) {
                build->failure = std::current_exception();
            }
        }));
}

void AlbumProgressDialog::Finished() {
    // Progress the worker queued was delivered before this end, queued after it.
    Result result = Result::Done;
    if (m_build->cancelled) {
        result = Result::Cancelled;
    } else if (m_build->failure) {
        result = Result::Failed;
        try {
            std::rethrow_exception(m_build->failure);
        } catch (const std::exception& e) {
            m_error = QString::fromStdString(e.what());
        } catch (...) {
        }
    } else {
        m_outcome = std::move(m_build->outcome);
        const int total = int(m_outcome.pictures + m_outcome.unreadable.size() + m_outcome.leftOut.size());
        m_bar->setRange(0, total);
        m_bar->setValue(total);
        setLabelText(tr("%1 of %2").arg(total).arg(total));
        emit progressed(total, total);
    }
    hide();
    emit ended(result);
}

} // namespace publish_ui
