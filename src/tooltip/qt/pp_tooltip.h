// CPPToolTip: the editor's pop-up help window. Shows mark-up in a balloon with a tail pointing at the
// mouse, a shaded background, a border and a drop shadow. Tool tips are registered per control and shown
// when the mouse rests on it; help tips are shown at once at a point. Links with a "msg" are reported
// through linkActivated, links with an "href" are opened by the desktop.
#pragma once

#include "tooltip/qt/compositing.h"
#include "tooltip/qt/markup_drawer.h"
#include "tooltip/qt/tip_effects.h"
#include "tooltip/tip_placement.h"

#include <QIcon>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

namespace tooltip {

// Behaviour flags of a tip.
namespace behaviour {
inline constexpr int kShowAgain = 1;   // show again when the mouse moves within the same tool
inline constexpr int kFollowMouse = 2; // keep shown and follow the mouse within the same tool
inline constexpr int kRestartHide = 4; // restart the hide time when the mouse moves within the tool
inline constexpr int kKeepOverTip = 8; // keep shown while the mouse is over the tip
inline constexpr int kNoHideTimer = 16;
} // namespace behaviour

// Settings a tool may carry instead of the tooltip's own.
struct ToolLook {
    std::optional<EffectColours> colours;
    std::optional<int> effect;
    std::optional<int> granularity;
    std::optional<int> direction;
    std::optional<int> behaviour;
};

class CPPToolTip : public QWidget {
    Q_OBJECT
public:
    enum class State { Hidden, Appearing, Shown, Disappearing };
    enum class Delay { Show, Hide, FadeIn, FadeOut };

    static constexpr int kShowDelay = 500;
    static constexpr int kHideDelay = 5000;

    // `balloon` chooses the balloon sizes (rounded, with a tail), else the plain rectangle.
    explicit CPPToolTip(QWidget* owner, bool balloon = true);
    ~CPPToolTip() override;

    // Registers a tip for `control` (its whole area when `rect` is empty, else that part of it, in the
    // control's coordinates). The same control and rectangle again replaces the entry.
    void AddTool(QWidget* control, const QString& text, const QRect& rect = {}, const ToolLook& look = {});
    void RemoveTool(QWidget* control);
    QString ToolText(QWidget* control) const;

    // Shows `text` at once with the tail at `globalPoint`; with an icon, the icon stands left of the text.
    // Stays until a click or key (it never hides by time).
    void ShowHelpTip(QPoint globalPoint, const QString& text, const QIcon& icon = {});
    void HideTip();

    void SetColours(const QColor& begin, const QColor& mid, const QColor& end);
    void SetEffect(int effect, int granularity = 0);
    void SetBorder(const QColor& colour, int width = 1, int height = 1);
    void SetShadow(int offsetX, int offsetY, int darkenPercent = 50, bool gradient = true, int depthX = 7,
                   int depthY = 7);
    void SetBalloonSizes(const BalloonSizes& sizes) { sizes_ = sizes; }
    void SetDirection(int direction) { direction_ = direction; }
    void SetBehaviour(int flags) { behaviour_ = flags; }
    int Behaviour() const { return behaviour_; }
    void SetDelayTime(Delay which, int milliseconds);
    int DelayTime(Delay which) const;
    // Screens the tip is kept on, in global coordinates; empty: the desktop's screens.
    void SetScreens(std::vector<QRect> screens) { screens_ = std::move(screens); }

    State CurrentState() const { return state_; }
    // Whether the tip shown is a help tip (ShowHelpTip), which stays until a click or key.
    bool HelpTipUp() const { return helpTipUp_; }
    QString CurrentText() const { return text_; }
    const TipPlacement& Placement() const { return placement_; }
    MarkupDrawer& Drawer() { return drawer_; }
    // The tip's body (the rounded rectangle) in the window's coordinates.
    QRect BodyRect() const;

    // What the owner's mouse moves do; called by the event filter, and by tests.
    void RelayMouseMove(QPoint globalPoint);

signals:
    // A link with a "msg" was clicked; the text is the msg (lower-cased, as all tag text is).
    void linkActivated(const QString& msg);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Tool {
        int id = 0;
        QPointer<QWidget> widget;
        QRect rect;
        QString text;
        ToolLook look;
    };

    const Tool* FindTool(QPoint globalPoint) const;
    const Tool* ToolById(int id) const;
    void BeginShowing(int toolId);
    void OnShowTimer();
    void ShowAt(const Tool& tool, QPoint anchor, bool help);
    void StartHideTimer();
    void FinishHide();
    void OnFadeIn();
    void OnFadeOut();
    QPainterPath Shape() const;
    std::vector<TipRect> Screens() const;

    QPointer<QWidget> owner_;
    MarkupDrawer drawer_;
    std::vector<Tool> tools_;
    int nextId_ = 1;
    Tool helpTool_;
    std::uint32_t helpIcon_ = 0;

    // Look
    EffectColours colours_;
    int effect_ = 0;
    int granularity_ = 0;
    QColor border_;
    QSize borderSize_{1, 1};
    QPoint shadowOffset_{6, 6};
    int shadowDarken_ = 50;
    bool shadowGradient_ = true;
    QSize shadowDepth_{7, 7};
    BalloonSizes sizes_;
    bool composited_ = true; // transparent pixels show what lies beneath
    int direction_ = direction::kBottomLeft;
    int behaviour_ = 0;
    std::vector<QRect> screens_;

    // Timing
    int showDelay_ = kShowDelay;
    int hideDelay_ = kHideDelay;
    int fadeIn_ = 0;
    int fadeOut_ = 0;
    QTimer showTimer_;
    QTimer hideTimer_;
    QTimer fadeInTimer_;
    QTimer fadeOutTimer_;

    // State
    State state_ = State::Hidden;
    bool helpTipUp_ = false;
    std::optional<int> pendingTool_; // waiting for the show timer
    std::optional<int> waitingTool_; // to show once the current tip has faded out
    std::optional<int> shownTool_;
    QPoint lastPoint_{-1, -1};
    int transparency_ = 100;
    QString text_;
    ToolLook look_; // of the tip being shown, already resolved
    int shownBehaviour_ = 0;
    TipPlacement placement_;
};

} // namespace tooltip
