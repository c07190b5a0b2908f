#include "dialogs/dlg_add_bg.h"
#include "dialogs/dlg_add_music.h"
#include "dialogs/dlg_project_settings.h"
#include "dlg_b_support.h"

#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"
#include "movie/swf_probe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using dlgtest::FindButton;

// The settings dialog with its pickers answered by the test.
class TestSettings : public CDlgProjectSettings {
public:
    using CDlgProjectSettings::CDlgProjectSettings;
    std::optional<Picture> background;
    std::function<int(CDlgAddMusic&)> music;

protected:
    std::optional<Picture> PickBackground(const Picture&) override { return background; }
    int ExecMusicChooser(CDlgAddMusic& chooser) override { return music(chooser); }
};

struct CaptionCase {
    const char* stored;
    const char* afterOk;
};

TEST(ProjectSettingsTest, CaptionColourOnOpeningAndOk) {
    const CaptionCase cases[] = {
        {"#2781c4", "#2781C4"}, {"#FF0000", "#FF0000"},          {"blue", "#000000"},
        {"", "#000000"},        {"Button\\Gold.jpg", "#000000"}, {"#", "#000000"},
    };
    for (const CaptionCase& c : cases) {
        model::Project project = model::MakeDefaultProject();
        project.settings.m_strButtonTextColor = c.stored;
        app::AppState state;
        const app::Workspace workspace(dlgtest::DataRoot(), dlgtest::FreshDir());
        CDlgProjectSettings dlg(project, state, workspace);
        FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.CaptionColour().name(QColor::HexRgb).toUpper().toStdString(), c.afterOk) << c.stored;
        EXPECT_EQ(project.settings.m_strButtonTextColor, c.afterOk) << c.stored;
    }
}

TEST(ProjectSettingsTest, EditBackgroundChangesOnlyCardsFollowingTheProject) {
    model::Project project = model::MakeDefaultProject();
    project.cards[1]->m_bProjectBg = 0;
    project.cards[1]->m_strBackground = "#123456";
    project.cards[1]->m_nBgAlign = 4;
    project.settings.m_strAuthor = "Before";
    app::AppState state;
    const app::Workspace workspace(dlgtest::DataRoot(), dlgtest::FreshDir());
    TestSettings dlg(project, state, workspace);
    dlg.background = CDlgProjectSettings::Picture{QStringLiteral("Background\\Sunrise.jpg"), 10};
    dlg.findChild<QLineEdit*>()->setText(QStringLiteral("After"));
    FindButton<QPushButton>(&dlg, QStringLiteral("Edit &Background"))->click();
    dlg.reject(); // the picker's choice stays; the typed author does not

    EXPECT_TRUE(dlg.PickersChangedProject());
    EXPECT_EQ(dlg.BackgroundText(), QStringLiteral("Background\\Sunrise.jpg"));
    EXPECT_EQ(project.settings.m_strBackground, "Background\\Sunrise.jpg");
    EXPECT_EQ(project.settings.m_strAuthor, "Before");
    for (int i : {0, 2}) {
        EXPECT_EQ(project.cards[i]->m_strBackground, "Background\\Sunrise.jpg") << i;
        EXPECT_EQ(project.cards[i]->m_nBgAlign, 10) << i;
    }
    EXPECT_EQ(project.cards[1]->m_strBackground, "#123456");
    EXPECT_EQ(project.cards[1]->m_nBgAlign, 4);
}

TEST(ProjectSettingsTest, AbsoluteMusicOpensOwnFileMode) {
    model::Project project = model::MakeDefaultProject();
    const std::string path = (dlgtest::FreshDir() / "song.mp3").string();
    project.settings.m_strMusic = path;
    app::AppState state;
    const app::Workspace workspace(dlgtest::DataRoot(), dlgtest::FreshDir());
    TestSettings dlg(project, state, workspace);
    int mode = -1;
    QString edit;
    dlg.music = [&](CDlgAddMusic& chooser) {
        chooser.show();
        mode = chooser.m_nMode;
        edit = chooser.findChild<QLineEdit*>()->text();
        return int(QDialog::Rejected);
    };
    FindButton<QPushButton>(&dlg, QStringLiteral("Edit &Music"))->click();
    EXPECT_EQ(mode, CDlgAddMusic::kOwnFileMode);
    EXPECT_EQ(edit.toStdString(), path);
    EXPECT_EQ(project.settings.m_strMusic, path); // Cancel changes nothing
    EXPECT_FALSE(dlg.PickersChangedProject());
}

TEST(ProjectSettingsTest, RemovingTheMusicLeavesItEmpty) {
    model::Project project = model::MakeDefaultProject();
    project.settings.m_strMusic = "Music\\Chord.mp3";
    app::AppState state;
    const app::Workspace workspace(dlgtest::DataRoot(), dlgtest::FreshDir());
    TestSettings dlg(project, state, workspace);
    QString selected;
    dlg.music = [&](CDlgAddMusic& chooser) {
        chooser.show();
        EXPECT_EQ(chooser.m_nMode, CDlgAddMusic::kSampleMode);
        if (QTreeWidgetItem* item = chooser.findChild<QTreeWidget*>()->currentItem()) {
            selected = item->text(0);
        }
        FindButton<QPushButton>(&chooser, QStringLiteral("Remove"))->click();
        return chooser.result();
    };
    FindButton<QPushButton>(&dlg, QStringLiteral("Edit &Music"))->click();
    EXPECT_EQ(selected, QStringLiteral("Chord.mp3")); // "Music\" is taken off for the chooser
    EXPECT_EQ(project.settings.m_strMusic, "");
    EXPECT_EQ(dlg.MusicText(), QString());
}

struct PickerCase {
    const char* button;
    const char* kind;
    int thumbHeight;
    const char* value;
};

TEST(ProjectSettingsTest, PickersOpenWithTheStoredValue) {
    const PickerCase cases[] = {
        {"Edit &Background", "background", 100, "Background\\Sunrise.jpg"},
        {"Edit B&uttons", "button", 60, "#2781c4"},
    };
    for (const PickerCase& c : cases) {
        model::Project project = model::MakeDefaultProject();
        project.settings.m_strBackground = "Background\\Sunrise.jpg";
        const model::Project before = project.Clone();
        app::AppState state;
        const app::Workspace workspace(dlgtest::DataRoot(), dlgtest::FreshDir());
        CDlgProjectSettings dlg(project, state, workspace);
        CDlgAddBg* seen = nullptr;
        QString kind, value;
        int thumbHeight = 0;
        dlgtest::WhenModalOpens([&](QWidget* modal) {
            seen = qobject_cast<CDlgAddBg*>(modal);
            if (seen) {
                kind = seen->m_strKind;
                value = seen->m_strValue;
                thumbHeight = seen->m_nThumbHeight;
            }
            qobject_cast<QDialog*>(modal)->reject();
        });
        FindButton<QPushButton>(&dlg, QString::fromLatin1(c.button))->click();
        ASSERT_TRUE(seen) << c.kind;
        EXPECT_EQ(kind, QLatin1String(c.kind));
        EXPECT_EQ(value, QLatin1String(c.value));
        EXPECT_EQ(thumbHeight, c.thumbHeight);
        EXPECT_FALSE(dlg.PickersChangedProject());
        EXPECT_TRUE(project == before) << c.kind; // a cancelled picker changes nothing
    }
}

class NoReports : public app::ErrorReporter {
public:
    NoReports() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view text) override { ADD_FAILURE() << text; }

protected:
    bool AskToSave(const std::string& text) override {
        ADD_FAILURE() << text;
        return false;
    }
};

// The first font name defined in a movie (DefineFont2: id, flags, language, name length, name).
std::string FirstFontName(const probe::Movie& movie) {
    for (const probe::Tag& tag : movie.tags) {
        if (tag.code == 48 && tag.body.size() > 5) {
            const size_t length = tag.body[4];
            return std::string(tag.body.begin() + 5,
                               tag.body.begin() + 5 + std::min(length, tag.body.size() - 5));
        }
    }
    return {};
}

TEST(ProjectSettingsTest, MainSettingsReachTheMovie) {
    model::Project project = model::MakeDefaultProject();
    app::AppState state;
    const auto work = dlgtest::FreshDir();
    app::Workspace workspace(dlgtest::DataRoot(), work);
    NoReports reporter;
    movie::GiftBuilder builder(project, state, workspace, reporter);
    builder.LoadGiftFonts(1); // the editor has the project's Sans loaded before the settings change

    CDlgProjectSettings dlg(project, state, workspace);
    dlgtest::GrabIfAsked(&dlg, QStringLiteral("project_settings"));
    const auto spins = dlg.findChildren<QSpinBox*>();
    auto spin = [&](const QString& name) {
        for (QSpinBox* s : spins) {
            if (s->accessibleName() == name) {
                return s;
            }
        }
        return static_cast<QSpinBox*>(nullptr);
    };
    spin(QStringLiteral("Gift width"))->setValue(800);
    spin(QStringLiteral("Gift height"))->setValue(600);
    spin(QStringLiteral("Picture quality"))->setValue(55);
    FindButton<QCheckBox>(&dlg, QStringLiteral("Slide show enabled"))->setChecked(true);
    const auto combos = dlg.findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 2);
    combos[0]->setCurrentText(QStringLiteral("1"));
    ASSERT_GE(combos[1]->findText(QStringLiteral("Serif")), 0);
    combos[1]->setCurrentText(QStringLiteral("Serif"));
    FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();

    EXPECT_EQ(project.settings.m_strSlideSeconds, "1");
    EXPECT_EQ(state.m_nPictureQuality, 55);
    EXPECT_EQ(dialogs::StoredPictureQuality(), 55);
    builder.GenerateSWF(work / "gift.swf", nullptr, 1, 0);
    const probe::Movie movie = probe::Read(work / "gift.swf");
    EXPECT_EQ(movie.width, 800);
    EXPECT_EQ(movie.height, 600);
    EXPECT_DOUBLE_EQ(movie.rate(), 1.0);
    EXPECT_NE(FirstFontName(movie).find("Serif"), std::string::npos) << FirstFontName(movie);
    size_t actions = 0;
    for (const probe::Frame& frame : movie.frames) {
        actions += frame.actions.size();
    }
    EXPECT_EQ(actions, 1u); // the opening action only: the slide show stops on no card
}

} // namespace
