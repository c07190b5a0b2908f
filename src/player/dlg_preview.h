// The Preview dialog: plays the whole movie of the project in the player widget. It has no buttons; the
// close box or Escape closes it. Resizable; the player fills it less a small margin. It starts a player of
// its own, or borrows a warm one (RuffleView::warmUp) and gives it back, cleared and hidden, when it
// closes; a borrowed player shows the movie at once.
//
//     CDlgPreview dlg(this, warmPlayer);      // or CDlgPreview dlg(this)
//     dlg.m_strMovie = previewPath;
//     dlg.exec();
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

namespace player {
class RuffleView;
}

class CDlgPreview : public QDialog {
    Q_OBJECT
public:
    explicit CDlgPreview(QWidget* parent = nullptr, player::RuffleView* warmPlayer = nullptr);
    ~CDlgPreview() override;

    // Full path of the movie to show; read when the dialog is shown.
    QString m_strMovie;

    player::RuffleView* playerView() const { return m_flash; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    player::RuffleView* m_flash;
    QPointer<QWidget> m_lender; // the warm player's own parent, while it is borrowed
    bool m_borrowed = false;
    QString m_shownMovie;
};
