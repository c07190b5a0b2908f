// The progress window of the photo album: "n of total" and a Cancel button while a worker thread builds
// the album; Cancel stops the build before its next picture and leaves neither the album nor any
// converted picture behind.
//
//     publish_ui::AlbumProgressDialog progress(parent);
//     switch (progress.Run(folder, albumPath, tempDir)) { ... progress.Outcome() ... }
#pragma once

#include "album/photo_album.h"

#include <QProgressDialog>

#include <filesystem>
#include <functional>
#include <stop_token>

namespace publish_ui {

class AlbumProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    enum class Result { Done, Cancelled, Failed };

    explicit AlbumProgressDialog(QWidget* parent = nullptr);

    // Shows the window and builds the album on a worker thread; returns when the build has ended.
    Result Run(const std::filesystem::path& folder, const std::filesystem::path& albumPath,
               const std::filesystem::path& tempDir);

    const album::AlbumOutcome& Outcome() const { return m_outcome; }
    const QString& Error() const { return m_error; }

    // Runs on the worker thread before each picture (for tests that need the build held at a picture).
    std::function<void(int number, int total, std::stop_token stop)> workerHook;

signals:
    // Picture `number` of `total` is being added; after the last one, (total, total).
    void progressed(int number, int total);

private:
    void Show(int number, int total);

    album::AlbumOutcome m_outcome;
    QString m_error;
};

} // namespace publish_ui
