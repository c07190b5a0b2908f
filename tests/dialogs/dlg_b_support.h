// Shared helpers of the settings, music, open-project, tips and folder dialog tests: folders, the data
// root, and answering the modal windows a dialog opens.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace dlgtest {

inline std::filesystem::path DataRoot() {
    return CW_TEST_DATA_DIR;
}

// A fresh folder per test under the build tree.
inline std::filesystem::path FreshDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::path(CW_TEST_BINARY_DIR) / "test-work" / "dialogs-b" /
               info->test_suite_name() / info->name();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Runs `answer` on the modal window that opens next (polled from the event loop the modal call runs).
inline void WhenModalOpens(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start(10);
}

// The button showing `text`, mnemonic marks ('&') ignored on both sides.
template <typename T> T* FindButton(QWidget* parent, QString text) {
    text.remove(QLatin1Char('&'));
    for (T* button : parent->findChildren<T*>()) {
        if (QString(button->text()).remove(QLatin1Char('&')) == text) {
            return button;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

// Saves a picture of `widget` as <CW_GRAB_DIR>/<name>.png when that variable is set, to look at layouts.
inline void GrabIfAsked(QWidget* widget, const QString& name) {
    const QString dir = qEnvironmentVariable("CW_GRAB_DIR");
    if (!dir.isEmpty()) {
        widget->adjustSize();
        widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

} // namespace dlgtest
