// The tips window: one short hint at a time from Tips.txt beside the program, remembering where it
// stopped and whether to show itself at start-up (QSettings, group "Tip").
//
//     // At start-up: the object lives until the program ends and consumes one tip per start.
//     auto tips = std::make_unique<CDlgTips>(workspace.DataRoot());
//     if (tips->ShowAtStartup()) tips->ShowModeless();
//     // From the menu "&Tip of the Day":
//     CDlgTips(workspace.DataRoot(), this).ShowModal();
#pragma once

#include "app/tips_file.h"

#include <QDialog>

#include <filesystem>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;

class CDlgTips : public QDialog {
    Q_OBJECT
public:
    // Reads the profile, opens the tips file and reads the first tip.
    explicit CDlgTips(const std::filesystem::path& dataRoot, QWidget* parent = nullptr);
    // Stores where the next tip is read.
    ~CDlgTips() override;

    bool ShowAtStartup() const;
    bool IsFileOpen() const { return m_reader.IsOpen(); }
    QString TipText() const;

    // Runs the dialog modally when the tips file is open; otherwise only beeps. Returns exec()'s result
    // (Rejected after a beep).
    int ShowModal();
    // Shows the window without blocking, above the other windows.
    void ShowModeless();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    virtual void ShowMessage(const QString& text);

private slots:
    void OnBtnNextTip();
    void OnBtnPrevTip();

private:
    void UpdateTip();

    app::TipsProfile m_profile;
    app::TipsReader m_reader;
    bool m_bTroubleShown = false;

    QLabel* m_labelTip = nullptr;
    QCheckBox* m_checkStartup = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnPrev = nullptr;
};
