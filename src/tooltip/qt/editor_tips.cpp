#include "tooltip/qt/editor_tips.h"

#include "tooltip/tip_texts.h"

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
    const QRect area = previewArea->rect();
    ShowWelcomeAt(previewArea->mapToGlobal(QPoint(area.right() + 1 - 100, area.top() + 10)));
}

void EditorTips::ShowWelcomeAt(QPoint globalPoint) {
    tip_->SetBehaviour(behaviour::kRestartHide | behaviour::kKeepOverTip | behaviour::kNoHideTimer);
    tip_->ShowHelpTip(globalPoint,
                      QString::fromUtf8(kWelcomeText.data(), static_cast<qsizetype>(kWelcomeText.size())));
}

void EditorTips::ShowTipMessage(QPoint globalAnchor, const QString& text) {
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
