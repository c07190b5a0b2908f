#include "player/dlg_preview.h"

#include "player/ruffle_view.h"

#include <QLabel>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

CDlgPreview::CDlgPreview(QWidget* parent, player::RuffleView* warmPlayer)
    : QDialog(parent), m_flash(warmPlayer != nullptr ? warmPlayer : new player::RuffleView(this)),
      m_lender(warmPlayer != nullptr ? warmPlayer->parentWidget() : nullptr),
      m_borrowed(warmPlayer != nullptr) {
    setWindowTitle(tr("Preview"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    // The player fills the dialog less a small margin, whatever the movie's own size.
    const int margin = style()->pixelMetric(QStyle::PM_LayoutTopMargin) / 2;
    layout->setContentsMargins(margin, margin, margin, margin);
    m_flash->setAccessibleName(tr("Preview"));
    layout->addWidget(m_flash, 1); // takes a borrowed player in
    m_flash->show();
    // A movie that cannot be played is said so in the dialog instead of leaving it blank.
    auto* problem = new QLabel(this);
    problem->setWordWrap(true);
    problem->setAccessibleName(tr("Problem"));
    problem->hide();
    layout->addWidget(problem);
    connect(m_flash, &player::RuffleView::failed, problem, [problem](const QString& reason) {
        problem->setText(reason);
        problem->show();
    });
    connect(m_flash, &player::RuffleView::moviePainted, problem, &QLabel::hide);
    // The movie takes the keys while it has the focus; Escape still closes the dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QDialog::reject);
    // About the dialog's 440 x 311 dialog units in the system font.
    const QFontMetrics fm = fontMetrics();
    resize(fm.averageCharWidth() * 440 / 4, fm.height() * 311 / 8);
}

CDlgPreview::~CDlgPreview() {
    if (!m_borrowed) {
        return;
    }
    // The movie stops (and its music with it) before the player goes back, hidden, to its owner.
    m_flash->clear();
    m_flash->hide();
    if (m_lender) {
        m_flash->setParent(m_lender);
    } else {
        delete m_flash;
    }
}

void CDlgPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shownMovie != m_strMovie) {
        m_shownMovie = m_strMovie;
        m_flash->loadUrl(QUrl::fromLocalFile(m_strMovie));
    }
}
