// The progress window of the photo album: "n of total" and a Cancel button while a worker thread builds
// the album; Cancel stops the build before its next picture and leaves neither the album nor any
// converted picture behind.
//
//     auto* progress = new publish_ui::AlbumProgressDialog(parent);
//     connect(progress, &AlbumProgressDialog::ended, [=](Result result) { ... progress->Outcome() ... });
//     progress->Start(folder, albumPath, tempDir);
#pragma once

#include "album/photo_album.h"

#include <QFutureWatcher>
#include <QProgressBar>
#include <QProgressDialog>

#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>

namespace publish_ui {

class AlbumProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    enum class Result { Done, Cancelled, Failed };

    explicit AlbumProgressDialog(QWidget* parent = nullptr);

    // Shows the window and starts building the album on a worker thread; `ended` follows when it is over.
    void Start(const std::filesystem::path& folder, const std::filesystem::path& albumPath,
               const std::filesystem::path& tempDir);

    const album::AlbumOutcome& Outcome() const { return m_outcome; }
    const QString& Error() const { return m_error; }

    // Runs on the worker thread before each picture (for tests that need the build held at a picture).
    std::function<void(int number, int total, std::stop_token stop)> workerHook;

signals:
    // Picture `number` of `total` is being added; after the last one, (total, total).
    void progressed(int number, int total);
    // The build is over (the window is hidden by then).
    void ended(publish_ui::AlbumProgressDialog::Result result);

private:
    void Show(int number, int total);
    void Finished();

    // Written by the worker, read once it has ended.
    struct Build {
        album::AlbumOutcome outcome;
        std::exception_ptr failure;
        bool cancelled = false;
    };
    QProgressBar* m_bar;
    std::shared_ptr<Build> m_build;
    std::stop_source m_stop;
    QFutureWatcher<void> m_watcher;

    album::AlbumOutcome m_outcome;
    QString m_error;
};

} // namespace publish_ui
