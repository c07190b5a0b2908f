// The Preview dialog: plays the whole movie of the project in the player widget. It has no buttons; the
// close box or Escape closes it. Resizable; the player fills it less a small margin.
//
//     CDlgPreview dlg(this);
//     dlg.m_strMovie = previewPath;
//     dlg.exec();
#pragma once

#include <QDialog>
#include <QString>

namespace player {
class RuffleView;
}

class CDlgPreview : public QDialog {
    Q_OBJECT
public:
    explicit CDlgPreview(QWidget* parent = nullptr);

    // Full path of the movie to show; read when the dialog is shown.
    QString m_strMovie;

    player::RuffleView* playerView() const { return m_flash; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    player::RuffleView* m_flash;
    QString m_shownMovie;
};
