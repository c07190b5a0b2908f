// The editor's pop-up help, ready to wire into the editor window: its tooltip set up with the editor's
// look, the control tips, the welcome tip with its three command links, and short hint balloons.
//
//   auto* tips = new tooltip::EditorTips(this);            // in the editor window's constructor
//   tips->AddControlTips({{1097, newButton}, {1034, openButton}, ...});   // ids of tip_texts.h
//   connect(tips, &tooltip::EditorTips::previewRequested, this, &EditorWindow::OnPreview);
//   connect(tips, &tooltip::EditorTips::helpMovieRequested, ...);
//   connect(tips, &tooltip::EditorTips::openRequested, ...);
//   tips->ShowWelcome(previewWidget);                     // from showEvent
//   tooltip::ShowTipMessage(this, anchor, QString::fromStdString(result.hint));
#pragma once

#include "tooltip/qt/pp_tooltip.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <map>
#include <utility>
#include <vector>

namespace tooltip {

class EditorTips : public QObject {
    Q_OBJECT
public:
    // Creates the balloon tooltip owned by `editorWindow` with the editor's look: background white,
    // RGB 240,247,255 and 192,192,208 in the soft bump effect (granularity 5), a 1 x 1 border of
    // 192,192,208, the tail at the top right (the tip opens below the mouse).
    explicit EditorTips(QWidget* editorWindow);

    // Registers the tip of each control id of the editor's tip table (1097 New, 1034 Open, 1100 Preview,
    // ... see kControlTips) on the widget given for it. Ids without a tip text are skipped.
    void AddControlTips(const std::map<int, QWidget*>& controls);
    // Registers any texts on any widgets.
    void AddControlTips(const std::vector<std::pair<QWidget*, QString>>& tips);

    // The welcome tip near the top right of the card preview: 100 pixels left of its right edge, 10 below
    // its top. From then on no tip hides by time (tooltip-wide behaviour 28). While it is up it follows
    // the window when the window manager places or moves it.
    void ShowWelcome(QWidget* previewArea);
    void ShowWelcomeAt(QPoint globalPoint);

    // A short hint as a balloon at `globalAnchor`; line feeds of the plain hint texts become line breaks.
    void ShowTipMessage(QPoint globalAnchor, const QString& text);

    CPPToolTip* ToolTip() const { return tip_; }

signals:
    // Any link with a msg; the welcome tip's also raise the signals below.
    void linkActivated(const QString& msg);
    void previewRequested();   // "1"
    void helpMovieRequested(); // "2"
    void openRequested();      // "3"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnLink(const QString& msg);
    QPoint WelcomeAnchor() const;

    CPPToolTip* tip_;
    QPointer<QWidget> welcomeArea_; // while the welcome tip is what shows
};

// Shows `text` (mark-up; line feeds become line breaks) as a hint balloon of `window`'s EditorTips (made
// on first use) with the tail at `anchor`, in `window`'s coordinates.
void ShowTipMessage(QWidget* window, QPoint anchor, const QString& text);

// Line feeds in the plain hint texts become "<br>" (in the mark-up a line feed draws nothing).
QString HintMarkup(const QString& text);

} // namespace tooltip
