#include "tooltip/qt/editor_tips.h"

#include "tooltip/tip_texts.h"

#include <QEvent>

namespace tooltip {

EditorTips::EditorTips(QWidget* editorWindow)
    : QObject(editorWindow), tip_(new CPPToolTip(editorWindow, true)) {
    setObjectName(QStringLiteral("EditorTips"));
    tip_->SetColours(QColor(255, 255, 255), QColor(240, 247, 255), QColor(192, 192, 208));
    tip_->SetEffect(static_cast<int>(markup::Effect::SoftBump), 5);
    tip_->SetBorder(QColor(192, 192, 208), 1, 1);
    tip_->SetDirection(direction::kTopRight);
    connect(tip_, &CPPToolTip::linkActivated, this, &EditorTips::OnLink);
}

void EditorTips::AddControlTips(const std::map<int, QWidget*>& controls) {
    for (const auto& [id, widget] : controls) {
        const std::string_view text = ControlTipText(id);
        if (widget && !text.empty()) {
            tip_->AddTool(widget, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
    }
}

void EditorTips::AddControlTips(const std::vector<std::pair<QWidget*, QString>>& tips) {
    for (const auto& [widget, text] : tips) {
        tip_->AddTool(widget, text);
    }
}

void EditorTips::ShowWelcome(QWidget* previewArea) {
    if (!previewArea) {
        return;
    }
    if (welcomeArea_ != previewArea) {
        previewArea->window()->installEventFilter(this);
    }
    welcomeArea_ = previewArea;
    ShowWelcomeAt(WelcomeAnchor());
}

QPoint EditorTips::WelcomeAnchor() const {
    const QRect area = welcomeArea_->rect();
    return welcomeArea_->mapToGlobal(QPoint(area.right() + 1 - 100, area.top() + 10));
}

bool EditorTips::eventFilter(QObject* watched, QEvent* event) {
    // The window manager places a new window after it is shown, and the user may move it: the welcome
    // tip keeps pointing at the preview.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && welcomeArea_ &&
        watched == welcomeArea_->window()) {
        if (tip_->HelpTipUp()) {
            ShowWelcomeAt(WelcomeAnchor());
        } else {
            welcomeArea_.clear(); // dismissed: it stays away
        }
    }
    return QObject::eventFilter(watched, event);
}

void EditorTips::ShowWelcomeAt(QPoint globalPoint) {
    tip_->SetBehaviour(behaviour::kRestartHide | behaviour::kKeepOverTip | behaviour::kNoHideTimer);
    tip_->ShowHelpTip(globalPoint,
                      QString::fromUtf8(kWelcomeText.data(), static_cast<qsizetype>(kWelcomeText.size())));
}

void EditorTips::ShowTipMessage(QPoint globalAnchor, const QString& text) {
    welcomeArea_.clear(); // this hint replaces the welcome tip
    tip_->ShowHelpTip(globalAnchor, HintMarkup(text));
}

void EditorTips::OnLink(const QString& msg) {
    emit linkActivated(msg);
    const std::string text = msg.toStdString();
    if (text == kWelcomePreview) {
        emit previewRequested();
    } else if (text == kWelcomeHelpMovie) {
        emit helpMovieRequested();
    } else if (text == kWelcomeOpen) {
        emit openRequested();
    }
}

QString HintMarkup(const QString& text) {
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return out;
}

void ShowTipMessage(QWidget* window, QPoint anchor, const QString& text) {
    if (!window) {
        return;
    }
    auto* tips = window->findChild<EditorTips*>(QStringLiteral("EditorTips"), Qt::FindDirectChildrenOnly);
    if (!tips) {
        tips = new EditorTips(window);
    }
    tips->ShowTipMessage(window->mapToGlobal(anchor), text);
}

} // namespace tooltip
