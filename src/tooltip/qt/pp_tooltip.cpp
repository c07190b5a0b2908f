#include "tooltip/qt/pp_tooltip.h"

#include "tooltip/qt/tip_effects.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUrl>

#include <algorithm>

namespace tooltip {
namespace {

QPolygonF TailPolygon(const TipPlacement& p, QPoint origin) {
    // The base reaches two pixels into the body, so the joined outline has no seam.
    QPointF inward;
    switch (EdgeOf(p.direction)) {
    case TailEdge::Top:
        inward = {0, 2};
        break;
    case TailEdge::Bottom:
        inward = {0, -2};
        break;
    case TailEdge::Left:
        inward = {2, 0};
        break;
    case TailEdge::Right:
        inward = {-2, 0};
        break;
    }
    const auto local = [&](TipPoint t) { return QPointF(t.x - origin.x() + 0.5, t.y - origin.y() + 0.5); };
    return QPolygonF({local(p.tail[0]) + inward, local(p.tail[1]) + inward, local(p.tail[2])});
}

} // namespace

CPPToolTip::CPPToolTip(QWidget* owner, bool balloon)
    : QWidget(owner,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
      owner_(owner), drawer_(QApplication::palette()),
      sizes_(balloon ? BalloonSizes::Balloon() : BalloonSizes::Rectangle()),
      composited_(CompositingActive()) {
    // Without a compositing manager transparent pixels come out black: the balloon then takes its shape
    // from a mask instead, without the soft shadow.
    if (composited_) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setAccessibleName(tr("Help tip"));
    const QPalette palette = QApplication::palette();
    const QColor background = palette.color(QPalette::ToolTipBase);
    colours_ = {background, background, background};
    border_ = palette.color(QPalette::ToolTipText);

    showTimer_.setSingleShot(true);
    showTimer_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire the rest delay early
    hideTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &CPPToolTip::OnShowTimer);
    connect(&hideTimer_, &QTimer::timeout, this, &CPPToolTip::HideTip);
    connect(&fadeInTimer_, &QTimer::timeout, this, &CPPToolTip::OnFadeIn);
    connect(&fadeOutTimer_, &QTimer::timeout, this, &CPPToolTip::OnFadeOut);
    qApp->installEventFilter(this);
}

CPPToolTip::~CPPToolTip() {
    qApp->removeEventFilter(this);
}

void CPPToolTip::AddTool(QWidget* control, const QString& text, const QRect& rect, const ToolLook& look) {
    if (!control) {
        return;
    }
    // Moves over a control reach us only when it (and each part of it) tracks the mouse.
    control->setMouseTracking(true);
    for (QWidget* child : control->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
    }
    for (Tool& tool : tools_) {
        if (tool.widget == control && tool.rect == rect) {
            tool.text = text;
            tool.look = look;
            return;
        }
    }
    if (std::none_of(tools_.begin(), tools_.end(),
                     [&](const Tool& tool) { return tool.widget == control; })) {
        connect(control, &QObject::destroyed, this, [this](QObject* gone) {
            std::erase_if(tools_,
                          [&](const Tool& tool) { return tool.widget.isNull() || tool.widget == gone; });
        });
    }
    tools_.push_back({nextId_++, control, rect, text, look});
}

void CPPToolTip::RemoveTool(QWidget* control) {
    std::erase_if(tools_, [&](const Tool& tool) { return tool.widget == control; });
}

QString CPPToolTip::ToolText(QWidget* control) const {
    for (const Tool& tool : tools_) {
        if (tool.widget == control) {
            return tool.text;
        }
    }
    return {};
}

void CPPToolTip::SetColours(const QColor& begin, const QColor& mid, const QColor& end) {
    colours_ = {begin, mid, end};
}

void CPPToolTip::SetEffect(int effect, int granularity) {
    effect_ = effect;
    granularity_ = granularity;
}

void CPPToolTip::SetBorder(const QColor& colour, int width, int height) {
    border_ = colour;
    borderSize_ = {width, height};
}

void CPPToolTip::SetShadow(int offsetX, int offsetY, int darkenPercent, bool gradient, int depthX,
                           int depthY) {
    shadowOffset_ = {offsetX, offsetY};
    shadowDarken_ = std::clamp(darkenPercent, 0, 100);
    shadowGradient_ = gradient;
    shadowDepth_ = {depthX, depthY};
}

void CPPToolTip::SetDelayTime(Delay which, int milliseconds) {
    milliseconds = std::max(0, milliseconds);
    switch (which) {
    case Delay::Show:
        showDelay_ = milliseconds;
        break;
    case Delay::Hide:
        hideDelay_ = milliseconds;
        break;
    case Delay::FadeIn:
        fadeIn_ = milliseconds;
        break;
    case Delay::FadeOut:
        fadeOut_ = milliseconds;
        break;
    }
}

int CPPToolTip::DelayTime(Delay which) const {
    switch (which) {
    case Delay::Show:
        return showDelay_;
    case Delay::Hide:
        return hideDelay_;
    case Delay::FadeIn:
        return fadeIn_;
    case Delay::FadeOut:
        return fadeOut_;
    }
    return 0;
}

std::vector<TipRect> CPPToolTip::Screens() const {
    std::vector<TipRect> out;
    if (!screens_.empty()) {
        for (const QRect& r : screens_) {
            out.push_back({r.x(), r.y(), r.width(), r.height()});
        }
        return out;
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        out.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    return out;
}

const CPPToolTip::Tool* CPPToolTip::ToolById(int id) const {
    if (id == helpTool_.id && helpTipUp_) {
        return &helpTool_;
    }
    for (const Tool& tool : tools_) {
        if (tool.id == id) {
            return &tool;
        }
    }
    return nullptr;
}

const CPPToolTip::Tool* CPPToolTip::FindTool(QPoint globalPoint) const {
    // By geometry rather than by the widget that got the event, so disabled controls have tips too.
    for (const Tool& tool : tools_) {
        QWidget* widget = tool.widget;
        if (!widget || !widget->isVisible() || tool.text.isEmpty()) {
            continue;
        }
        const QRect local = tool.rect.isEmpty() ? widget->rect() : tool.rect;
        if (QRect(widget->mapToGlobal(local.topLeft()), local.size()).contains(globalPoint)) {
            return &tool;
        }
    }
    return nullptr;
}

void CPPToolTip::RelayMouseMove(QPoint globalPoint) {
    if (helpTipUp_ || globalPoint == lastPoint_) {
        return;
    }
    lastPoint_ = globalPoint;
    const Tool* shown = shownTool_ ? ToolById(*shownTool_) : nullptr;
    const int ownFlags = shown ? shown->look.behaviour.value_or(0) : 0;
    const bool up = state_ == State::Appearing || state_ == State::Shown;
    if (up && geometry().contains(globalPoint)) {
        if (!(ownFlags & behaviour::kFollowMouse)) {
            if (ownFlags & behaviour::kKeepOverTip) {
                StartHideTimer();
            } else {
                HideTip();
            }
        }
        return;
    }
    const Tool* tool = FindTool(globalPoint);
    if (!tool) {
        pendingTool_.reset();
        showTimer_.stop();
        HideTip();
        return;
    }
    if (up && shown == tool) {
        if (ownFlags & behaviour::kFollowMouse) {
            StartHideTimer();
            ShowAt(*tool, globalPoint, false);
        } else if (ownFlags & behaviour::kRestartHide) {
            StartHideTimer();
        } else if (ownFlags & behaviour::kShowAgain) {
            BeginShowing(tool->id);
        } else {
            HideTip();
        }
        return;
    }
    BeginShowing(tool->id);
}

void CPPToolTip::BeginShowing(int toolId) {
    HideTip();
    if (state_ == State::Disappearing) {
        waitingTool_ = toolId;
        return;
    }
    pendingTool_ = toolId;
    if (showDelay_ > 0) {
        showTimer_.start(showDelay_); // each move restarts it: the tip waits for the mouse to rest
    } else {
        OnShowTimer();
    }
}

void CPPToolTip::OnShowTimer() {
    showTimer_.stop();
    if (!pendingTool_) {
        return;
    }
    const int id = *pendingTool_;
    pendingTool_.reset();
    const Tool* tool = FindTool(lastPoint_);
    if (!tool || tool->id != id) {
        return; // the mouse left the control meanwhile
    }
    ShowAt(*tool, lastPoint_, false);
}

void CPPToolTip::ShowHelpTip(QPoint globalPoint, const QString& text, const QIcon& icon) {
    showTimer_.stop();
    pendingTool_.reset();
    waitingTool_.reset();
    if (state_ != State::Hidden) {
        hideTimer_.stop();
        fadeInTimer_.stop();
        fadeOutTimer_.stop();
        FinishHide();
    }
    if (helpIcon_) {
        drawer_.Pictures().Release(helpIcon_);
        helpIcon_ = 0;
    }
    helpTool_ = {0, owner_, {}, text, {}};
    if (!icon.isNull()) {
        const int side = fontMetrics().height() * 2;
        helpIcon_ = drawer_.Pictures().Register(icon.pixmap(side, side).toImage());
        helpTool_.text = QStringLiteral("<table><tr><td><icon handle=0x%1></td><td>%2</td></tr></table>")
                             .arg(helpIcon_, 0, 16)
                             .arg(text);
    }
    helpTipUp_ = true;
    ShowAt(helpTool_, globalPoint, true);
}

void CPPToolTip::ShowAt(const Tool& tool, QPoint anchor, bool help) {
    text_ = tool.text;
    look_ = tool.look;
    shownTool_ = tool.id;
    // A help tip never hides by time; a tool tip takes its own behaviour, else the tooltip-wide one as
    // it is at this moment.
    shownBehaviour_ = tool.look.behaviour.value_or(behaviour_) | (help ? behaviour::kNoHideTimer : 0);

    const QSize text = drawer_.Measure(text_);
    const int width = text.width() + 2 * sizes_.marginX;
    const int height = text.height() + 2 * sizes_.marginY;
    const std::vector<TipRect> screens = Screens();
    placement_ = PlaceTip({anchor.x(), anchor.y()}, width, height, sizes_,
                          look_.direction.value_or(direction_), screens);
    const TipRect& w = placement_.window;
    setGeometry(w.x, w.y, w.width + std::max(0, shadowOffset_.x()),
                w.height + std::max(0, shadowOffset_.y()));
    if (!composited_) {
        setMask(QRegion(Shape().toFillPolygon().toPolygon()));
    }
    update();

    state_ = State::Appearing;
    if (fadeIn_ > 0) {
        transparency_ = 100;
        setWindowOpacity(0.0);
        show();
        fadeInTimer_.start(fadeIn_);
        return;
    }
    transparency_ = 0;
    setWindowOpacity(1.0);
    show();
    raise();
    state_ = State::Shown;
    StartHideTimer();
}

void CPPToolTip::StartHideTimer() {
    if (!(shownBehaviour_ & behaviour::kNoHideTimer) && hideDelay_ > 0) {
        hideTimer_.start(hideDelay_);
    }
}

void CPPToolTip::HideTip() {
    showTimer_.stop();
    if (state_ != State::Appearing && state_ != State::Shown) {
        return;
    }
    hideTimer_.stop();
    fadeInTimer_.stop();
    state_ = State::Disappearing;
    if (fadeOut_ > 0) {
        fadeOutTimer_.start(fadeOut_);
    } else {
        FinishHide();
    }
}

void CPPToolTip::FinishHide() {
    fadeOutTimer_.stop();
    transparency_ = 100;
    hide();
    state_ = State::Hidden;
    helpTipUp_ = false;
    drawer_.SetHot({});
    if (waitingTool_) {
        const int id = *waitingTool_;
        waitingTool_.reset();
        BeginShowing(id);
    }
}

void CPPToolTip::OnFadeIn() {
    transparency_ = std::max(0, transparency_ - 20);
    setWindowOpacity((100 - transparency_) / 100.0);
    if (transparency_ == 0) {
        fadeInTimer_.stop();
        state_ = State::Shown;
        StartHideTimer();
    }
}

void CPPToolTip::OnFadeOut() {
    transparency_ = transparency_ >= 80 ? 100 : transparency_ + 20;
    setWindowOpacity((100 - transparency_) / 100.0);
    if (transparency_ == 100) {
        FinishHide();
    }
}

QRect CPPToolTip::BodyRect() const {
    const TipRect& b = placement_.body;
    return {b.x - placement_.window.x, b.y - placement_.window.y, b.width, b.height};
}

QPainterPath CPPToolTip::Shape() const {
    const QRectF body = QRectF(BodyRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(body, sizes_.roundX / 2.0, sizes_.roundY / 2.0);
    if (placement_.hasTail) {
        QPainterPath tail;
        tail.addPolygon(TailPolygon(placement_, {placement_.window.x, placement_.window.y}));
        tail.closeSubpath();
        path = path.united(tail);
    }
    return path.simplified();
}

void CPPToolTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = Shape();

    // The shadow: layers of the shape, each darkening a little more towards the full offset (only where
    // the desktop composes windows; a masked balloon has no room for it).
    const int layers = !composited_      ? 0
                       : shadowGradient_ ? std::max(1, std::max(shadowDepth_.width(), shadowDepth_.height()))
                                         : 1;
    const int alpha = 255 * shadowDarken_ / 100;
    for (int i = 1; i <= layers; ++i) {
        const qreal t = qreal(i) / layers;
        painter.fillPath(shape.translated(shadowOffset_.x() * t, shadowOffset_.y() * t),
                         QColor(0, 0, 0, alpha / layers));
    }

    const EffectColours colours = look_.colours.value_or(colours_);
    painter.save();
    painter.setClipPath(shape);
    // Under the effect, a solid ground, so the shadow never shows through the balloon.
    painter.fillPath(shape, colours.begin);
    PaintEffect(painter, shape.boundingRect().toAlignedRect(), look_.effect.value_or(effect_), colours,
                look_.granularity.value_or(granularity_));
    painter.restore();
    if (borderSize_.width() > 0 && borderSize_.height() > 0) {
        painter.setPen(QPen(border_, std::max(borderSize_.width(), borderSize_.height())));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect text = BodyRect().adjusted(sizes_.marginX, sizes_.marginY, -sizes_.marginX, -sizes_.marginY);
    drawer_.Draw(painter, text, text_);
}

void CPPToolTip::mouseMoveEvent(QMouseEvent* event) {
    const markup::Hot hot = drawer_.HitTest(event->position().toPoint());
    setCursor(hot.link >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (drawer_.SetHot(hot)) {
        update();
    }
}

void CPPToolTip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const markup::Hot hot = drawer_.HitTest(event->position().toPoint());
        if (const auto link = drawer_.LinkAt(hot.link)) {
            HideTip();
            if (!link->msg.empty()) {
                emit linkActivated(QString::fromStdString(link->msg));
            }
            if (!link->href.empty()) {
                QDesktopServices::openUrl(QUrl(QString::fromStdString(link->href)));
            }
            return;
        }
    }
    HideTip();
}

bool CPPToolTip::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::HoverMove: // a resting pointer over a control without mouse tracking
        if (widget && owner_ && widget->window() == owner_->window()) {
            RelayMouseMove(static_cast<QSinglePointEvent*>(event)->globalPosition().toPoint());
        } else if (widget == this) {
            RelayMouseMove(static_cast<QSinglePointEvent*>(event)->globalPosition().toPoint());
        }
        break;
    case QEvent::Leave:
        // Leaving a control for a part of the window that does not track the mouse.
        if (widget && widget != this) {
            const int current = pendingTool_ ? *pendingTool_ : shownTool_ ? *shownTool_ : 0;
            const Tool* tool = current ? ToolById(current) : nullptr;
            if (tool && tool->widget == widget && !helpTipUp_) {
                pendingTool_.reset();
                showTimer_.stop();
                HideTip();
                lastPoint_ = {-1, -1};
            }
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
        if (widget && widget != this) {
            pendingTool_.reset();
            HideTip();
        }
        break;
    case QEvent::ApplicationDeactivate:
        HideTip();
        break;
    default:
        break;
    }
    return false;
}

} // namespace tooltip
