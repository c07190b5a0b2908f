#include "app/log.h"
#include "dialogs/colour_picker.h"
#include "dialogs/dlg_add_bg.h"
#include "dialogs/dlg_add_bg_choice.h"
#include "imaging/thumbnail_cache.h"
#include "player/open_in_player.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A data root with the program's Resource pictures and the given sample files, and a work folder.
struct Folders {
    fs::path data;
    fs::path work;
};

Folders MakeFolders(const std::string& name) {
    const fs::path root = fs::path(CW_TEST_BINARY_DIR) / "add-bg-tests" / name;
    fs::remove_all(root);
    Folders f{root / "data", root / "work"};
    fs::create_directories(f.data / "Background");
    fs::create_directories(f.data / "Button");
    fs::create_directories(f.work);
    fs::copy(fs::path(CW_TEST_SOURCE_DIR) / "data" / "Resource", f.data / "Resource");
    return f;
}

// A small picture (binary PPM, which the picture library reads whatever the file is called).
void WritePicture(const fs::path& path, uint8_t red) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n4 4\n255\n";
    for (int i = 0; i < 16; ++i) {
        out << char(red) << char(0) << char(0);
    }
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class TestAddBg : public CDlgAddBg {
public:
    using CDlgAddBg::CDlgAddBg;
    QStringList messages;
    QStringList opened;

protected:
    void ShowMessage(const QString& text) override { messages << text; }
    QString ChooseFile() override { return {}; }
    void OpenFile(const QString& file) override { opened << file; }
};

template <typename T> T* Find(QWidget* parent, const QString& text) {
    for (T* w : parent->findChildren<T*>()) {
        if (w->text() == text) {
            return w;
        }
    }
    return nullptr;
}

QListWidget* List(QWidget* dlg) {
    return dlg->findChild<QListWidget*>(QStringLiteral("sampleList"));
}

void ClickOk(QWidget* dlg) {
    Find<QPushButton>(dlg, QStringLiteral("OK"))->click();
}

bool WaitForThumbnails(const CDlgAddBg& dlg) {
    return QTest::qWaitFor([&] { return dlg.ThumbnailsDone(); }, 20000);
}

TEST(AddBgChoice, AlignCodeSplitsAndComposesBack) {
    using add_bg::Alignment;
    const struct {
        int code;
        Alignment alignment;
        int composed;
    } cases[] = {
        {0, {add_bg::kPositioned, 0, false}, 0},
        {4, {add_bg::kPositioned, 4, false}, 4},
        {8, {add_bg::kPositioned, 8, false}, 8},
        {9, {add_bg::kTile, add_bg::kNoPosition, false}, 9},
        {10, {add_bg::kStretch, add_bg::kNoPosition, false}, 10},
        {11, {add_bg::kStretch, add_bg::kNoPosition, true}, 11},
        {-1, {add_bg::kPositioned, 4, false}, 4},
        {12, {add_bg::kPositioned, 4, false}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(add_bg::SplitAlignCode(c.code), c.alignment);
        EXPECT_EQ(add_bg::ComposeAlignCode(c.alignment), c.composed);
    }
    // Tile ignores a lock; a positioned choice without a position is centred, never a bad code.
    EXPECT_EQ(add_bg::ComposeAlignCode({add_bg::kTile, 3, true}), 9);
    EXPECT_EQ(add_bg::ComposeAlignCode({add_bg::kPositioned, add_bg::kNoPosition, false}), 4);
}

TEST(AddBgChoice, StoredValueByModeAndKind) {
    const struct {
        const char* kind;
        int mode;
        const char* value;
        const char* stored;
    } cases[] = {
        {"background", add_bg::kSampleMode, "Flower.jpg", "Background\\Flower.jpg"},
        {"button", add_bg::kSampleMode, "Green.png", "Button\\Green.png"},
        {"background", add_bg::kColourMode, "#FF0000", "#FF0000"},
        {"button", add_bg::kColourMode, "#2781C4", "#2781C4"},
        {"background", add_bg::kFileMode, "/home/a/b.swf", "/home/a/b.swf"},
        {"background", add_bg::kFileMode, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(add_bg::ComposeStoredValue(c.kind, c.mode, c.value), c.stored);
    }
}

TEST(AddBgTest, StoredValueSelectsItsSampleWithoutRegardToCase) {
    const Folders f = MakeFolders("select");
    for (const char* name : {"Flower.jpg", "Fern.png", "Night.bmp"}) {
        WritePicture(f.data / "Background" / name, 200);
    }
    const struct {
        const char* value;
        const char* selected; // nullptr: nothing selected
    } cases[] = {{"Background\\Flower.JPG", "Flower.jpg"},
                 {"background\\night.BMP", "Night.bmp"},
                 {"Background\\Rose.jpg", nullptr},
                 {"", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        TestAddBg dlg(f.data, f.work);
        dlg.m_strValue = QString::fromUtf8(c.value);
        dlg.show();
        EXPECT_EQ(dlg.m_nMode, add_bg::kSampleMode);
        EXPECT_TRUE(Find<QRadioButton>(&dlg, QStringLiteral("Default"))->isChecked());
        const auto selected = List(&dlg)->selectedItems();
        if (!c.selected) {
            EXPECT_TRUE(selected.isEmpty());
            continue;
        }
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected[0]->text(), QString::fromUtf8(c.selected));
        ClickOk(&dlg);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.m_strValue, QString::fromUtf8(c.selected));
    }
}

TEST(AddBgTest, DblShowsItsPngCompanionAndFlashItsPlaceholder) {
    const Folders f = MakeFolders("dbl");
    WriteText(f.data / "Button" / "x.dbl", "dbl");
    WritePicture(f.data / "Button" / "x.dbl.png", 10);
    WriteText(f.data / "Button" / "y.dbl", "dbl");
    WriteText(f.data / "Button" / "z.swf", "swf");
    WriteText(f.data / "Button" / "notes.txt", "not listed");
    TestAddBg dlg(f.data, f.work);
    dlg.m_strKind = QStringLiteral("button");
    dlg.m_nThumbHeight = 60;
    dlg.show();
    QListWidget* list = List(&dlg);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("x.dbl"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("y.dbl"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("z.swf"));
    const auto& sources = dlg.ThumbnailSources();
    EXPECT_EQ(sources[0], f.data / "Button" / "x.dbl.png");
    EXPECT_EQ(sources[1], f.data / "Resource" / "dbl.gif");
    EXPECT_EQ(sources[2], f.data / "Resource" / "flash_btn.gif");
    EXPECT_EQ(CDlgAddBg::ThumbnailSource("/a/b.SWF", "/r", 100), fs::path("/r/flash.gif"));
    ASSERT_TRUE(WaitForThumbnails(dlg));
    EXPECT_FALSE(dlg.IsTileMarked(0) || dlg.IsTileMarked(1) || dlg.IsTileMarked(2));
}

TEST(AddBgTest, EmptyOrMissingSampleFolderAsksForAPicture) {
    for (const bool missing : {false, true}) {
        SCOPED_TRACE(missing);
        const Folders f = MakeFolders("empty");
        if (missing) {
            fs::remove_all(f.data / "Background");
        }
        TestAddBg dlg(f.data, f.work);
        dlg.show();
        EXPECT_EQ(List(&dlg)->count(), 0);
        ClickOk(&dlg);
        EXPECT_EQ(dlg.messages, QStringList{QStringLiteral("Please choose a picture before you continue.")});
        EXPECT_TRUE(dlg.isVisible());
        Find<QPushButton>(&dlg, QStringLiteral("Preview"))->click();
        EXPECT_EQ(dlg.messages.last(),
                  QStringLiteral("Choose a picture or SWF clip from the list to preview it."));
        EXPECT_TRUE(dlg.opened.isEmpty());
    }
}

TEST(AddBgTest, OwnFileModeWithNothingBrowsedGivesAnEmptyValue) {
    const Folders f = MakeFolders("own-empty");
    TestAddBg dlg(f.data, f.work);
    dlg.m_strValue = QStringLiteral("#FFFFFF");
    dlg.show();
    Find<QRadioButton>(&dlg, QStringLiteral("Picture or Flash Only"))->click();
    ClickOk(&dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nMode, add_bg::kFileMode);
    EXPECT_EQ(dlg.m_strValue, QString());
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST(AddBgTest, ColourValueOpensColourModeAndComesBackUpperCase) {
    const Folders f = MakeFolders("colour");
    TestAddBg dlg(f.data, f.work);
    dlg.m_strValue = QStringLiteral("#2781c4");
    dlg.show();
    EXPECT_EQ(dlg.m_nMode, add_bg::kColourMode);
    EXPECT_EQ(dlg.findChild<CColourPicker*>()->colour(), QColor(0x27, 0x81, 0xC4));
    ClickOk(&dlg);
    EXPECT_EQ(dlg.m_strValue, QStringLiteral("#2781C4"));
}

TEST(AddBgTest, KindSetsTitleAndAlignmentControls) {
    const struct {
        const char* kind;
        const char* title;
        bool alignment;
    } cases[] = {{"background", "Adjust the background of cards", true},
                 {"button", "Adjust the style of button", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const Folders f = MakeFolders("kind");
        const fs::path logPath = f.work / "cwp.log";
        app::Log log(logPath);
        TestAddBg dlg(f.data, f.work);
        dlg.m_strKind = QString::fromUtf8(c.kind);
        dlg.m_pLog = &log;
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(dlg.findChild<QGroupBox*>()->isEnabled(), c.alignment);
        for (const char* text : {"default", "Tile", "Stretch"}) {
            EXPECT_EQ(Find<QAbstractButton>(&dlg, QString::fromUtf8(text))->isEnabledTo(&dlg), c.alignment);
        }
        std::ifstream in(logPath);
        const std::string logged((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(logged.find("CDlgAddBg::OnInitDialog }"), std::string::npos);
    }
}

TEST(AddBgTest, PlacementRadiosEnableGridAndLock) {
    const Folders f = MakeFolders("placement");
    const struct {
        int code;
        const char* radio;
        bool positions;
        bool lock;
        bool locked;
    } cases[] = {{7, "default", true, false, false},
                 {9, "Tile", false, false, false},
                 {10, "Stretch", false, true, false},
                 {11, "Stretch", false, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        TestAddBg dlg(f.data, f.work);
        const add_bg::Alignment a = add_bg::SplitAlignCode(c.code);
        dlg.m_nPlacement = a.placement;
        dlg.m_nPosition = a.position;
        dlg.m_bKeepAspect = a.keepAspect;
        dlg.show();
        EXPECT_TRUE(Find<QRadioButton>(&dlg, QString::fromUtf8(c.radio))->isChecked());
        auto* lock = Find<QCheckBox>(&dlg, QStringLiteral("Lock W:H"));
        EXPECT_EQ(lock->isEnabled(), c.lock);
        EXPECT_EQ(lock->isChecked(), c.locked);
        int checked = -1;
        QList<QToolButton*> positions;
        for (const char* name : {"Top left", "Top centre", "Top right", "Middle left", "Centre",
                                 "Middle right", "Bottom left", "Bottom centre", "Bottom right"}) {
            for (QToolButton* b : dlg.findChildren<QToolButton*>()) {
                if (b->accessibleName() == QString::fromUtf8(name)) {
                    positions << b;
                }
            }
        }
        ASSERT_EQ(positions.size(), 9);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(positions[i]->isEnabled(), c.positions);
            checked = positions[i]->isChecked() ? i : checked;
        }
        EXPECT_EQ(checked, a.position);
        // The user's clicks follow the same rule, and the code comes back unchanged through OK.
        Find<QRadioButton>(&dlg, QStringLiteral("Tile"))->click();
        EXPECT_FALSE(positions[0]->isEnabled() || lock->isEnabled());
        Find<QRadioButton>(&dlg, QString::fromUtf8(c.radio))->click();
        EXPECT_EQ(lock->isEnabled(), c.lock);
        Find<QRadioButton>(&dlg, QStringLiteral("Background Color Only"))->click();
        ClickOk(&dlg);
        EXPECT_EQ(add_bg::ComposeAlignCode({dlg.m_nPlacement, dlg.m_nPosition, dlg.m_bKeepAspect != 0}),
                  c.code);
    }
}

TEST(AddBgTest, UnreadablePictureGetsAMarkedTile) {
    const Folders f = MakeFolders("unreadable");
    WriteText(f.data / "Background" / "broken.jpg", "\xFF\xD8 not really a jpeg");
    WritePicture(f.data / "Background" / "good.png", 90);
    TestAddBg dlg(f.data, f.work);
    dlg.show();
    ASSERT_TRUE(WaitForThumbnails(dlg));
    QCoreApplication::processEvents();
    EXPECT_TRUE(dlg.IsTileMarked(0));
    EXPECT_FALSE(dlg.IsTileMarked(1));
    EXPECT_TRUE(List(&dlg)->item(0)->toolTip().startsWith(QStringLiteral("Loading the picture '")));
    // Chosen from the disk, its preview is marked the same way.
    dlg.OnFileChosen(QString::fromStdString((f.data / "Background" / "broken.jpg").string()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.PreviewPending(); }, 20000));
    EXPECT_TRUE(dlg.findChild<QLabel*>(QStringLiteral("previewPicture"))
                    ->toolTip()
                    .startsWith(QStringLiteral("Loading the picture '")));
    // It can still be chosen from the list: the picture is the user's business.
    List(&dlg)->setCurrentRow(0);
    ClickOk(&dlg);
    EXPECT_EQ(dlg.m_strValue, QStringLiteral("broken.jpg"));
}

TEST(AddBgTest, SecondOpeningTakesThumbnailsFromTheCacheUntilAFileChanges) {
    const Folders f = MakeFolders("cache");
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        WritePicture(f.data / "Background" / name, 50);
    }
    auto open = [&] {
        TestAddBg dlg(f.data, f.work);
        dlg.show();
        EXPECT_TRUE(WaitForThumbnails(dlg));
        QCoreApplication::processEvents();
        return dlg.ThumbnailsMade();
    };
    EXPECT_EQ(open(), 3);
    EXPECT_EQ(open(), 0);
    const fs::path changed = f.data / "Background" / "b.png";
    WritePicture(changed, 60);
    fs::last_write_time(changed, fs::last_write_time(changed) + std::chrono::seconds(3));
    EXPECT_EQ(open(), 1);
    EXPECT_TRUE(fs::exists(f.work / "Thumbnails" / "background" / "index.txt"));
}

TEST(AddBgTest, UnreadableFlashFile) {
    const Folders f = MakeFolders("flash");
    const fs::path bad = f.data / "Background" / "bad.swf";
    WriteText(bad, "not a flash movie at all");
    const QString notSupported = QStringLiteral(" This version of Flash file (SWF) is not supported.");
    {
        // Own file: refused, the dialog stays open.
        TestAddBg dlg(f.data, f.work);
        dlg.show();
        dlg.OnFileChosen(QString::fromStdString(bad.string()));
        ClickOk(&dlg);
        EXPECT_EQ(dlg.messages, QStringList{notSupported});
        EXPECT_TRUE(dlg.isVisible());
    }
    {
        // Sample: reported, but taken.
        TestAddBg dlg(f.data, f.work);
        dlg.m_strValue = QStringLiteral("Background\\bad.swf");
        dlg.show();
        ClickOk(&dlg);
        EXPECT_EQ(dlg.messages, QStringList{notSupported});
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.m_strValue, QStringLiteral("bad.swf"));
    }
}

TEST(AddBgTest, PreviewOpensTheSampleOrItsCompanion) {
    const Folders f = MakeFolders("preview");
    WriteText(f.data / "Background" / "Pic.DBL", "dbl");
    WritePicture(f.data / "Background" / "Tree.jpg", 1);
    TestAddBg dlg(f.data, f.work);
    dlg.m_strValue = QStringLiteral("Background\\pic.dbl");
    dlg.show();
    Find<QPushButton>(&dlg, QStringLiteral("Preview"))->click();
    List(&dlg)->setCurrentRow(1);
    Find<QPushButton>(&dlg, QStringLiteral("Preview"))->click();
    const QString folder = QString::fromStdString((f.data / "Background").string());
    EXPECT_EQ(dlg.opened,
              (QStringList{folder + QStringLiteral("/Pic.DBL.png"), folder + QStringLiteral("/Tree.jpg")}));
}

TEST(AddBgTest, FlashSamplePreviewPlaysInThePlayer) {
    const Folders f = MakeFolders("preview-flash");
    WriteText(f.data / "Background" / "Clip.swf", "swf");
    QStringList launched;
    player::SetPlayerStarter([&](const QString&, const QStringList& arguments) {
        launched = arguments;
        return true;
    });
    CDlgAddBg dlg(f.data, f.work); // the real hand-off, not the test double's
    dlg.m_strValue = QStringLiteral("Background\\Clip.swf");
    dlg.show();
    Find<QPushButton>(&dlg, QStringLiteral("Preview"))->click();
    player::SetPlayerStarter({});
    EXPECT_TRUE(launched.contains(QString::fromStdString((f.data / "Background" / "Clip.swf").string())));
}

TEST(AddBgTest, EachKindHasItsOwnCacheAtItsOwnSize) {
    const Folders f = MakeFolders("cache-kinds");
    WritePicture(f.data / "Button" / "b.png", 1);
    WritePicture(f.data / "Background" / "b.png", 1);
    for (const auto& [kind, height] : {std::pair{"button", 60}, std::pair{"background", 100}}) {
        TestAddBg dlg(f.data, f.work);
        dlg.m_strKind = QString::fromUtf8(kind);
        dlg.m_nThumbHeight = height;
        dlg.show();
        ASSERT_TRUE(WaitForThumbnails(dlg));
        QCoreApplication::processEvents();
        EXPECT_EQ(dlg.ThumbnailsMade(), 1) << kind;
        const auto sampleFile = f.data / (std::string(kind) == "button" ? "Button" : "Background") / "b.png";
        EXPECT_TRUE(imaging::ThumbnailCache(f.work / "Thumbnails" / kind).Find(sampleFile, {120, height}))
            << kind;
    }
}

} // namespace
