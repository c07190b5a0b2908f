// The builder's movies read back with an independent reader: frames, actions, places and faces.
#include "gift_fixture.h"

#include "movie/gift_scripts.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <thread>

#include <zlib.h>

namespace gifttest {
namespace {

constexpr uint16_t kShape = 32;  // DefineShape3
constexpr uint16_t kText = 33;   // DefineText2
constexpr uint16_t kButton = 34; // DefineButton2
constexpr uint16_t kSprite = 39; // DefineSprite

bool Has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool At(const std::vector<probe::Placed>& items, double x, double y) {
    return std::any_of(items.begin(), items.end(), [&](const probe::Placed& p) {
        return std::abs(p.x - x) < 0.06 && std::abs(p.y - y) < 0.06;
    });
}

std::string Positions(const std::vector<probe::Placed>& items) {
    std::string out;
    for (const probe::Placed& p : items) {
        out += "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") ";
    }
    return out;
}

// The strings of the one release action of a button.
std::vector<std::string> ButtonScriptStrings(const probe::Movie& m, uint16_t button) {
    auto actions = probe::ButtonActions(m.definitions.at(button).body);
    if (actions.size() != 1) {
        return {"<" + std::to_string(actions.size()) + " actions>"};
    }
    EXPECT_EQ(actions[0].first, 8); // released over the button
    return probe::ActionStrings(actions[0].second);
}

TEST_F(GiftTest, DefaultProjectFramesActionsAndLayout) {
    probe::Movie m = Build("default_project");
    EXPECT_EQ(m.version, 6);
    EXPECT_EQ(m.width, 640);
    EXPECT_EQ(m.height, 480);
    EXPECT_EQ(m.rate_fixed, 12 * 256); // rate 0 is written as 12
    ASSERT_EQ(m.frame_count, 3);
    ASSERT_EQ(m.frames.size(), 3u);
    EXPECT_TRUE(reporter.reasons.empty()) << reporter.reasons.front();
    EXPECT_TRUE(reporter.tips.empty()) << reporter.tips.front();

    // Frame 1: the opening action, then the stop action; every other frame its stop action only.
    ASSERT_EQ(m.frames[0].actions.size(), 2u);
    EXPECT_TRUE(Has(probe::ActionStrings(m.frames[0].actions[0]), "score"));
    EXPECT_EQ(m.frames[1].actions.size(), 1u);
    EXPECT_EQ(m.frames[2].actions.size(), 1u);

    for (size_t f = 0; f < 3; ++f) {
        const auto shapes = m.placed(f, kShape);
        ASSERT_FALSE(shapes.empty());
        EXPECT_TRUE(At(shapes, 0, 0));
        const auto texts = m.placed(f, kText);
        EXPECT_TRUE(At(texts, 10, 40)) << Positions(texts);
        EXPECT_TRUE(At(texts, 10, 66));
        for (int line = 0; line < 4; ++line) { // "Type your ...\r\n\r\nA.\r\nB.\r\n"
            EXPECT_TRUE(At(texts, 10, 100 + 20 * line)) << "frame " << f << " line " << line;
        }
        EXPECT_FALSE(At(texts, 10, 180));
        // The author is the program: the credit button alone, no author button.
        const auto buttons = m.placed(f, kButton);
        EXPECT_TRUE(At(buttons, 500, 450)) << Positions(buttons);
        EXPECT_FALSE(At(buttons, 340, 450));
    }
    // Two links on the first two cards, none on the last.
    EXPECT_TRUE(At(m.placed(0, kButton), 20, 420));
    EXPECT_TRUE(At(m.placed(0, kButton), 95, 420));
    EXPECT_EQ(m.placed(0, kButton).size(), 3u);
    EXPECT_EQ(m.placed(2, kButton).size(), 1u);

    // Captions are centred on the 60 x 30 face.
    const double cw = builder->BodyFont()->string_width("Link 1", 14);
    EXPECT_TRUE(At(m.placed(0, kText), 20 + (60 - cw) / 2, 435 + 8)) << Positions(m.placed(0, kText));
}

TEST_F(GiftTest, LinkScriptsCarryScoreTraceAndBranch) {
    project = PlainProject(3);
    project.cards[0]->m_strTitle = "Q1";
    project.cards[0]->m_pLinks->AddLink("Yes", 2, 5, -1, ">=", 10, 0);
    probe::Movie m = Build("link_script");
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 1u);
    const auto strings = ButtonScriptStrings(m, buttons[0].character);
    EXPECT_TRUE(Has(strings, "Q1[-]Yes[N]")) << ::testing::PrintToString(strings);
}

TEST_F(GiftTest, SlideShowRunsOnWithoutStops) {
    project.settings.m_bSlideShow = 1;
    project.settings.m_strSlideSeconds = "0.5";
    probe::Movie m = Build("slide_show_half_second");
    EXPECT_EQ(m.rate_fixed, 2 * 256);
    ASSERT_EQ(m.frames.size(), 3u);
    EXPECT_EQ(m.frames[0].actions.size(), 1u); // the opening action only
    EXPECT_TRUE(m.frames[1].actions.empty());
    EXPECT_TRUE(m.frames[2].actions.empty());

    project.settings.m_strSlideSeconds = "3";
    EXPECT_EQ(Build("slide_show_three_seconds").rate_fixed, 85); // floor(256 / 3)
}

TEST_F(GiftTest, MailAlertFrameAction) {
    project.cards[1]->m_bMailAlert = 1;
    project.cards[1]->m_strTitle = "Half & way";
    project.settings.m_strEmail = "ann@example.org";
    probe::Movie m = Build("mail_alert");
    ASSERT_EQ(m.frames[1].actions.size(), 2u); // the alert, then the stop action
    const auto strings = probe::ActionStrings(m.frames[1].actions[0]);
    EXPECT_TRUE(Has(strings, "http://cardwright.example/member/emailalert.php?title=Half%20%26%20way"
                             "&target=ann%40example.org&trace="))
        << ::testing::PrintToString(strings);
    EXPECT_TRUE(Has(strings, "_blank"));
    EXPECT_EQ(m.frames[0].actions.size(), 2u);
}

TEST_F(GiftTest, SingleCardHasNoScriptsAndNoMusic) {
    project.cards[1]->m_bMailAlert = 1;
    project.settings.m_strMusic = "Music\\anything.swf";
    probe::Movie m = Build("single_card", 1, 0);
    ASSERT_EQ(m.frames.size(), 1u);
    EXPECT_TRUE(m.frames[0].actions.empty());
    EXPECT_EQ(m.placed(0, kSprite).size(), 0u);
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 3u); // two links and the credit button
    for (const probe::Placed& b : buttons) {
        EXPECT_TRUE(probe::ButtonActions(m.definitions.at(b.character).body).empty());
    }
    EXPECT_TRUE(reporter.reasons.empty());
}

TEST_F(GiftTest, EmptyProjectGivesOneFrameWithTheOpeningAction) {
    project = PlainProject(0);
    probe::Movie m = Build("empty_project");
    ASSERT_EQ(m.frames.size(), 1u);
    ASSERT_EQ(m.frames[0].actions.size(), 1u);
    EXPECT_TRUE(m.frames[0].stage.empty());
}

TEST_F(GiftTest, ColourBackgroundAndCarriedColour) {
    project = PlainProject(1);
    project.cards[0]->m_strBackground = "#FF0000";
    probe::Movie m = Build("red_background");
    const auto shapes = m.placed(0, kShape);
    ASSERT_EQ(shapes.size(), 1u);
    const probe::ShapeInfo rect = probe::ReadShape(m.definitions.at(shapes[0].character).body);
    EXPECT_EQ(rect.solid_rgba, std::vector<uint32_t>{0xFF0000FF});
    EXPECT_EQ(rect.xmax - rect.xmin, 640);
    EXPECT_EQ(rect.ymax - rect.ymin, 480);
}

// One colour variable serves background, title and comment in turn: an unreadable colour repeats the
// one read before it.
TEST_F(GiftTest, UnreadableTextColoursRepeatThePreviousColour) {
    project = PlainProject(2);
    project.cards[0]->m_strBackground = "#336699";
    project.cards[0]->m_strTitleColor = "Background\\x.jpg";
    project.cards[0]->m_strCommentColor = "#00FF00";
    project.cards[1]->m_strBackground = "#FFCC00";
    project.cards[1]->m_strTitleColor = "#800000";
    project.cards[1]->m_strCommentColor = "blue";
    probe::Movie m = Build("carried_colours");
    auto colourAt = [&](size_t frame, double y) {
        for (const probe::Placed& t : m.placed(frame, kText)) {
            if (t.x == 10 && t.y == y) {
                return probe::TextColour(m.definitions.at(t.character).body);
            }
        }
        return uint32_t(1);
    };
    EXPECT_EQ(colourAt(0, 40), 0x336699FFu); // the title repeats the background colour
    EXPECT_EQ(colourAt(0, 100), 0x00FF00FFu);
    EXPECT_EQ(colourAt(1, 40), 0x800000FFu);
    EXPECT_EQ(colourAt(1, 100), 0x800000FFu); // the comment repeats the title colour
}

TEST_F(GiftTest, PlacementCodesOnA640x480Stage) {
    WritePicture(assets / "p.png", 100, 50, 20, 200, 40);
    const int expected[12][2] = {{0, 0},   {270, 0},   {540, 0},   {0, 215}, {270, 215}, {540, 215},
                                 {0, 430}, {270, 430}, {540, 430}, {0, 0},   {0, 0},     {0, 0}};
    project = PlainProject(12);
    for (int code = 0; code < 12; ++code) {
        project.cards[size_t(code)]->m_strBackground = (assets / "p.png").string();
        project.cards[size_t(code)]->m_nBgAlign = code;
    }
    probe::Movie m = Build("placement_codes");
    ASSERT_EQ(m.frames.size(), 12u);
    EXPECT_TRUE(reporter.tips.empty()) << reporter.tips.front();
    for (int code = 0; code < 12; ++code) {
        const auto shapes = m.placed(size_t(code), kShape);
        ASSERT_EQ(shapes.size(), 2u) << "code " << code;
        const probe::ShapeInfo picture = probe::ReadShape(m.definitions.at(shapes[1].character).body);
        ASSERT_EQ(picture.bitmap_fills.size(), 1u);
        if (code == 9) {
            EXPECT_EQ(picture.bitmap_fills[0], 0x40);
            EXPECT_EQ(picture.xmax - picture.xmin, 640);
            EXPECT_EQ(picture.ymax - picture.ymin, 480);
        } else if (code >= 10) {
            // Stretched to the stage (11 keeps 2:1 -> 640 x 320, centred).
            EXPECT_EQ(picture.xmax - picture.xmin, 640) << "code " << code;
            EXPECT_EQ(picture.ymax - picture.ymin, code == 10 ? 480 : 320);
            EXPECT_EQ(shapes[1].y, code == 10 ? 0 : 80);
        } else {
            EXPECT_EQ(picture.bitmap_fills[0], 0x41);
            EXPECT_EQ(picture.xmax - picture.xmin, 100);
            EXPECT_EQ(shapes[1].x, expected[code][0]) << "code " << code;
            EXPECT_EQ(shapes[1].y, expected[code][1]) << "code " << code;
        }
    }
    EXPECT_TRUE(fs::exists(work / "Temp" / "11.jpg"));
}

TEST_F(GiftTest, ResizeCases) {
    project = PlainProject(4);
    project.settings.m_nGiftWidth = 400;
    project.settings.m_nGiftHeight = 300;
    WritePicture(assets / "wide.png", 1000, 100, 0, 0, 255);
    WritePicture(assets / "tall.png", 300, 600, 0, 0, 255);
    WritePicture(assets / "huge.jpg", 3000, 2000, 0, 0, 255);
    WritePicture(assets / "edge.png", 2400, 2000, 0, 0, 255);
    const char* files[] = {"wide.png", "tall.png", "huge.jpg", "edge.png"};
    const int codes[] = {11, 11, 4, 0};
    for (size_t i = 0; i < 4; ++i) {
        project.cards[i]->m_strBackground = (assets / files[i]).string();
        project.cards[i]->m_nBgAlign = codes[i];
    }
    probe::Movie m = Build("resize_cases");
    struct Want {
        double w, h, x, y;
    };
    const Want want[] = {{400, 40, 0, 130}, {150, 300, 125, 0}, {400, 300, 0, 0}, {2400, 2000, 0, 0}};
    for (size_t i = 0; i < 4; ++i) {
        const auto shapes = m.placed(i, kShape);
        ASSERT_EQ(shapes.size(), 2u) << files[i];
        const probe::ShapeInfo s = probe::ReadShape(m.definitions.at(shapes[1].character).body);
        EXPECT_EQ(s.xmax - s.xmin, want[i].w) << files[i];
        EXPECT_EQ(s.ymax - s.ymin, want[i].h) << files[i];
        EXPECT_EQ(shapes[1].x, want[i].x) << files[i];
        EXPECT_EQ(shapes[1].y, want[i].y) << files[i];
    }
}

TEST_F(GiftTest, ConvertedPictureIsReusedOnlyWhileItsSourceAndSettingsStayTheSame) {
    project = PlainProject(1);
    WritePicture(assets / "a.png", 100, 50, 255, 0, 0);
    project.cards[0]->m_strBackground = (assets / "a.png").string();
    const fs::path converted = work / "Temp" / "0.jpg";
    const auto width = [&](const probe::Movie& m) {
        const auto shapes = m.placed(0, kShape);
        EXPECT_EQ(shapes.size(), 2u);
        const probe::ShapeInfo s = probe::ReadShape(m.definitions.at(shapes.back().character).body);
        return s.xmax - s.xmin;
    };
    Build("reuse_first", 0, 1);
    ASSERT_EQ(builder->ConversionCount(), 1);
    const auto first = fs::last_write_time(converted);
    Build("reuse_same", 0, 1); // even when forced
    EXPECT_EQ(builder->ConversionCount(), 1);
    EXPECT_EQ(fs::last_write_time(converted), first);

    struct Change {
        const char* name;
        std::function<void()> apply;
        int width;
    };
    for (const Change& c : {
             Change{"reuse_edited_file", [&] { WritePicture(assets / "a.png", 200, 50, 0, 255, 0); }, 200},
             Change{"reuse_other_quality", [&] { state.m_nPictureQuality = 40; }, 200},
             Change{"reuse_other_placement", [&] { project.cards[0]->m_nBgAlign = 10; }, 640},
             Change{"reuse_other_stage", [&] { project.settings.m_nGiftWidth = 320; }, 320},
         }) {
        const int before = builder->ConversionCount();
        c.apply();
        const probe::Movie m = Build(c.name, 0, 0);
        EXPECT_EQ(builder->ConversionCount(), before + 1) << c.name;
        EXPECT_EQ(width(m), c.width) << c.name;
    }
}

// Two builders on two threads (the card preview and Preview) convert different pictures for the same card
// into the same Temp file: each movie still holds its own picture.
TEST_F(GiftTest, BuildersOnTwoThreadsKeepTheirOwnPictures) {
    struct Side {
        model::Project project;
        int width;
        std::vector<int> seen;
    };
    Side sides[2] = {{PlainProject(1), 100, {}}, {PlainProject(1), 200, {}}};
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        Side& side = sides[i];
        const fs::path picture = assets / ("side" + std::to_string(i) + ".png");
        WritePicture(picture, side.width, 50, 255, 0, 0);
        side.project.cards[0]->m_strBackground = picture.string();
        threads.emplace_back([&, i] {
            RecordingReporter quiet;
            movie::GiftBuilder own(side.project, state, *workspace, quiet);
            const fs::path out = MovieFolder() / ("two_threads_" + std::to_string(i) + ".swf");
            for (int round = 0; round < 15; ++round) {
                own.GenerateSWF(out, side.project.cards[0].get(), 0, 0);
                std::ifstream in(out, std::ios::binary);
                const probe::Movie m = probe::Parse({std::istreambuf_iterator<char>(in), {}});
                const auto shapes = m.placed(0, kShape);
                const probe::ShapeInfo s = probe::ReadShape(m.definitions.at(shapes.back().character).body);
                side.seen.push_back(s.xmax - s.xmin);
            }
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (const Side& side : sides) {
        EXPECT_EQ(side.seen, std::vector<int>(15, side.width));
    }
}

TEST_F(GiftTest, ColourButtonsRowAndOverFace) {
    project = PlainProject(2);
    for (int i = 0; i < 3; ++i) {
        project.cards[0]->m_pLinks->AddLink("L" + std::to_string(i), 1, 0, -1, "", 0, 0);
    }
    project.settings.m_strButton = "#2781c4";
    probe::Movie m = Build("colour_buttons");
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_TRUE(At(buttons, 20, 420));
    EXPECT_TRUE(At(buttons, 95, 420));
    EXPECT_TRUE(At(buttons, 170, 420));
    const auto records = probe::ButtonRecords(m.definitions.at(buttons[0].character).body);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].first, 13);
    EXPECT_EQ(records[1].first, 2);
    EXPECT_EQ(probe::ReadShape(m.definitions.at(records[0].second).body).solid_rgba,
              std::vector<uint32_t>{0x2781C4FF});
    EXPECT_EQ(probe::ReadShape(m.definitions.at(records[1].second).body).solid_rgba,
              std::vector<uint32_t>{0x136DB0FF});
}

TEST_F(GiftTest, PictureButtonsAdvanceByTheirWidth) {
    project = PlainProject(2);
    for (int i = 0; i < 3; ++i) {
        project.cards[0]->m_pLinks->AddLink("L" + std::to_string(i), 1, 0, -1, "", 0, 0);
    }
    WritePicture(assets / "face.png", 80, 40, 200, 100, 0);
    project.settings.m_strButton = (assets / "face.png").string();
    probe::Movie m = Build("picture_buttons");
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_TRUE(At(buttons, 20, 420));
    EXPECT_TRUE(At(buttons, 115, 420));
    EXPECT_TRUE(At(buttons, 210, 420));
    EXPECT_TRUE(fs::exists(work / "Temp" / "generate_button.jpg"));
    const auto records = probe::ButtonRecords(m.definitions.at(buttons[0].character).body);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].first, 15);
    const probe::ShapeInfo face = probe::ReadShape(m.definitions.at(records[0].second).body);
    EXPECT_EQ(face.bitmap_fills, std::vector<uint8_t>{0x41});
    EXPECT_EQ(face.xmax - face.xmin, 80);
    // Captions centred on the 80 x 40 face.
    const double cw = builder->BodyFont()->string_width("L0", 14);
    EXPECT_TRUE(At(m.placed(0, kText), 20 + (80 - cw) / 2, 435 + 13)) << Positions(m.placed(0, kText));
}

TEST_F(GiftTest, ClipButtonsPlaceTheClipUnderAnInvisibleFace) {
    project = PlainProject(2);
    for (int i = 0; i < 2; ++i) {
        project.cards[0]->m_pLinks->AddLink("L" + std::to_string(i), 1, 0, -1, "", 0, 0);
    }
    project.settings.m_strButton = "Button\\Pulse.swf"; // a sample clip, 60 x 30
    probe::Movie m = Build("clip_buttons");
    EXPECT_TRUE(reporter.tips.empty()) << reporter.tips.front();
    const auto clips = m.placed(0, kSprite);
    ASSERT_EQ(clips.size(), 2u); // imported anew for every link
    EXPECT_TRUE(At(clips, 20, 430));
    EXPECT_TRUE(At(clips, 95, 430));
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_TRUE(At(buttons, 20, 420));
    EXPECT_TRUE(At(buttons, 95, 420));
    const auto records = probe::ButtonRecords(m.definitions.at(buttons[0].character).body);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].first, 15);
    EXPECT_EQ(probe::ReadShape(m.definitions.at(records[0].second).body).solid_rgba,
              std::vector<uint32_t>{0xFFFFFF00}); // white, alpha 0
    EXPECT_TRUE(At(m.placed(0, kText), 20, 440)); // captions at (x, H - 40)
    EXPECT_TRUE(At(m.placed(0, kText), 95, 440));
}

TEST_F(GiftTest, UnreadableButtonClipMakesThisMovieWhiteAndLeavesTheProject) {
    project = PlainProject(2);
    project.cards[0]->m_pLinks->AddLink("A", 1, 0, -1, "", 0, 0);
    project.cards[0]->m_pLinks->AddLink("B", 1, 0, -1, "", 0, 0);
    const fs::path bad = assets / "bad.swf";
    std::ofstream(bad) << "not a movie";
    project.settings.m_strButton = bad.string();
    probe::Movie m = Build("clip_buttons_unreadable");
    ASSERT_EQ(reporter.tips.size(), 1u);
    EXPECT_EQ(reporter.tips[0], "Attention: The SWF file " + bad.string() +
                                    " of the button may not work well.\nSuggestion: Please add this SWF file "
                                    "again before previewing or publishing to avoid errors.");
    EXPECT_EQ(project.settings.m_strButton, bad.string()); // the project stays as the user left it
    EXPECT_EQ(builder->LastDecisions().fallbackButton, std::optional<std::string>("#FFFFFF"));
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_TRUE(At(buttons, 95, 420));
    // The second link already has the white colour face.
    const auto records = probe::ButtonRecords(m.definitions.at(buttons[1].character).body);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(probe::ReadShape(m.definitions.at(records[0].second).body).solid_rgba,
              std::vector<uint32_t>{0xFFFFFFFF});
}

TEST_F(GiftTest, CreditItemsAndTheirActions) {
    project = PlainProject(2);
    project.settings.m_bPromoteLast = 1;
    project.settings.m_bPromoteEach = 0;
    project.settings.m_strAuthor = "Ann";
    project.settings.m_strEmail = "ann@example.org";
    project.cards[0]->m_pLinks->AddLink("Next", 1, 0, -1, "", 0, 0);
    probe::Movie m = Build("credit_items");
    // Only the card without links shows the items.
    EXPECT_FALSE(At(m.placed(0, kButton), 500, 450));
    const auto buttons = m.placed(1, kButton);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_TRUE(At(buttons, 500, 450));
    EXPECT_TRUE(At(buttons, 340, 450));
    const double tw = builder->TitleFont()->string_width("Created By: Ann & Cardwright", 14);
    const auto texts = m.placed(1, kText);
    EXPECT_TRUE(At(texts, 640 - tw, 470)) << Positions(texts);
    EXPECT_TRUE(At(texts, 642 - tw, 472));
    for (const probe::Placed& b : buttons) {
        const auto actions = probe::ButtonActions(m.definitions.at(b.character).body);
        ASSERT_EQ(actions.size(), 1u);
        const auto strings = probe::ActionStrings(actions[0].second);
        if (b.x == 500) {
            EXPECT_EQ(actions[0].first, 8);
            EXPECT_TRUE(Has(strings, "http://cardwright.example/ordernow.php?from=ann@example.org"))
                << ::testing::PrintToString(strings);
        } else {
            EXPECT_EQ(actions[0].first, 4);
            EXPECT_TRUE(Has(strings, "mailto:ann@example.org")) << ::testing::PrintToString(strings);
        }
        EXPECT_TRUE(Has(strings, "_blank"));
    }
}

TEST_F(GiftTest, UnreadableBackgroundGivesTheTipAndTheMovie) {
    project = PlainProject(2);
    const fs::path bad = assets / "broken.jpg";
    { std::ofstream(bad) << "this is no picture"; }
    project.cards[0]->m_strBackground = bad.string();
    project.cards[1]->m_strBackground = (assets / "missing.jpg").string();
    probe::Movie m = Build("unreadable_background");
    ASSERT_EQ(reporter.tips.size(), 1u);
    EXPECT_EQ(reporter.tips[0], "Loading the picture '" + bad.string() + "' failed; please try again.");
    EXPECT_TRUE(reporter.reasons.empty());
    ASSERT_EQ(m.frames.size(), 2u);
    EXPECT_EQ(m.placed(0, kShape).size(), 1u); // the white rectangle only
    EXPECT_EQ(m.placed(1, kShape).size(), 1u);
}

// A black PNG of 30000 x 30000 pixels (2.7 GB of pixel data, about 2.6 MB on disk), made in a moment: the
// zero rows are deflated in equal blocks, each ended by a full flush so that every block packs to the same
// bytes, which are then repeated. Adler-32 of n zero bytes is (n mod 65521) << 16 | 1.
void WriteHugeBlackPng(const fs::path& file) {
    constexpr uint32_t kSide = 30000;
    constexpr size_t kRow = kSide * 3 + 1; // a filter byte, then RGB
    constexpr size_t kRowsPerBlock = 300;
    std::vector<Bytef> zeros(kRow * kRowsPerBlock, 0);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::vector<Bytef> packed(deflateBound(&z, uLong(zeros.size())) + 64);
    z.next_in = zeros.data();
    z.avail_in = uInt(zeros.size());
    z.next_out = packed.data();
    z.avail_out = uInt(packed.size());
    deflate(&z, Z_FULL_FLUSH);
    const std::string block(reinterpret_cast<const char*>(packed.data()), packed.size() - z.avail_out);
    deflateEnd(&z);
    const uint64_t total = uint64_t(kRow) * kSide;
    const uint32_t adler = uint32_t(total % 65521) << 16 | 1;
    auto be32 = [](std::string& out, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out += char((v >> shift) & 0xFF);
        }
    };
    auto chunk = [&](std::string& out, const std::string& typeAndData) {
        be32(out, uint32_t(typeAndData.size() - 4));
        out += typeAndData;
        be32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typeAndData.data()),
                                 uInt(typeAndData.size()))));
    };
    std::string ihdr = "IHDR";
    be32(ihdr, kSide);
    be32(ihdr, kSide);
    ihdr += std::string("\x08\x02\0\0\0", 5); // 8-bit RGB
    std::string idat = "IDAT\x78\xDA";        // zlib header: deflate, 32 KB window, best compression
    for (size_t i = 0; i < kSide / kRowsPerBlock; ++i) {
        idat += block;
    }
    idat += std::string("\x03\x00", 2); // an empty final block
    be32(idat, adler);
    std::string png = "\x89PNG\r\n\x1a\n";
    chunk(png, ihdr);
    chunk(png, idat);
    chunk(png, "IEND");
    std::ofstream(file, std::ios::binary) << png;
}

TEST_F(GiftTest, OversizedBackgroundIsRefusedFromItsHeader) {
    project = PlainProject(2);
    const fs::path huge = assets / "huge.png";
    WriteHugeBlackPng(huge);
    project.cards[0]->m_strBackground = huge.string();
    probe::Movie m = Build("oversized_background");
    ASSERT_EQ(reporter.tips.size(), 1u);
    EXPECT_EQ(reporter.tips[0], "The picture \"" + huge.string() +
                                    "\" is 30000 x 30000 pixels; a picture may have at most 16384 pixels a "
                                    "side and 100 megapixels.");
    ASSERT_EQ(m.frames.size(), 2u);
    EXPECT_EQ(m.placed(0, kShape).size(), 1u); // the card keeps its colour
}

TEST_F(GiftTest, UnreadableBackgroundClipGivesTheClipTip) {
    project = PlainProject(1);
    const fs::path bad = assets / "broken.swf";
    { std::ofstream(bad) << "FWS nonsense"; }
    project.cards[0]->m_strBackground = bad.string();
    probe::Movie m = Build("unreadable_clip");
    ASSERT_EQ(reporter.tips.size(), 1u);
    EXPECT_EQ(reporter.tips[0],
              "Attention: The SWF file " + bad.string() +
                  " of the background may not work well.\nSuggestion: Please add this SWF file again "
                  "before previewing or publishing to avoid errors.");
    EXPECT_EQ(m.placed(0, kSprite).size(), 0u);
}

TEST_F(GiftTest, SpecialTitleStillGivesWorkingScripts) {
    project = PlainProject(2);
    const std::string title = "Say \"hi\" \\ </script> line\nbreak Gr\xC3\xBC\xC3\x9F\xC3\xA9";
    project.cards[0]->m_strTitle = title;
    project.cards[0]->m_bMailAlert = 1;
    project.cards[0]->m_pLinks->AddLink("Go \"on\"", 1, 1, -1, "", 0, 0);
    probe::Movie m = Build("special_title");
    EXPECT_TRUE(reporter.reasons.empty());
    const auto buttons = m.placed(0, kButton);
    ASSERT_EQ(buttons.size(), 1u);
    const auto strings = ButtonScriptStrings(m, buttons[0].character);
    EXPECT_TRUE(Has(strings, title + "[-]Go \"on\"[N]")) << ::testing::PrintToString(strings);
    ASSERT_EQ(m.frames[0].actions.size(), 3u); // opening, alert, stop
    const auto alert = probe::ActionStrings(m.frames[0].actions[1]);
    EXPECT_TRUE(
        Has(alert, "http://cardwright.example/member/emailalert.php?title=" + movie::PercentEncode(title) +
                       "&target=" + movie::PercentEncode(project.settings.m_strEmail) + "&trace="))
        << ::testing::PrintToString(alert);
}

TEST_F(GiftTest, UnwritableFileThrows) {
    project = PlainProject(1);
    EXPECT_ANY_THROW(builder->GenerateSWF(work / "no" / "such" / "folder" / "x.swf", nullptr, 1, 0));
}

// Progress counts every card and the end; a stop leaves an earlier file at the path as it was.
TEST_F(GiftTest, ProgressCountsTheCardsAndAStopWritesNothing) {
    project = PlainProject(3);
    std::vector<std::pair<int, int>> told;
    int stopAt = -1;
    builder->SetCardProgress([&](int done, int total) {
        told.emplace_back(done, total);
        return done != stopAt;
    });
    const fs::path out = MovieFolder() / "progress.swf";
    builder->GenerateSWF(out, nullptr, 1, 0);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));

    std::ofstream(out) << "old";
    for (const int at : {1, 3}) {
        stopAt = at;
        EXPECT_THROW(builder->GenerateSWF(out, nullptr, 1, 0), movie::GenerationStopped);
        EXPECT_EQ(fs::file_size(out), 3u);
    }
    told.clear();
    builder->GenerateSWF(out, project.cards[1].get(), 0, 1);
    EXPECT_TRUE(told.empty()) << "a single card tells no progress";
}

TEST_F(GiftTest, FlashMusicIsCopiedAndPlacedFirst) {
    project = PlainProject(1);
    // Any movie serves as a music clip: use one this builder wrote.
    const fs::path clip = assets / "MUSIC.SWF";
    builder->GenerateSWF(clip, nullptr, 1, 0);
    project.settings.m_strMusic = clip.string();
    probe::Movie m = Build("music_swf");
    EXPECT_TRUE(fs::exists(work / "Temp" / "MP3.swf"));
    ASSERT_FALSE(m.frames[0].stage.empty());
    EXPECT_EQ(m.kind(m.frames[0].stage.begin()->second.character), kSprite);
    EXPECT_TRUE(reporter.reasons.empty());

    reporter.reasons.clear();
    project.settings.m_strMusic = (assets / "tune.wav").string();
    std::ofstream(assets / "tune.wav") << "RIFF";
    m = Build("music_wav");
    EXPECT_EQ(m.placed(0, kSprite).size(), 0u);
    EXPECT_TRUE(reporter.reasons.empty());
    EXPECT_TRUE(reporter.tips.empty());
}

std::vector<uint8_t> FileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The DefineSound tag of the music clip Temp/MP3.swf.
probe::Tag MusicSound(const fs::path& work) {
    const probe::Movie clip = probe::Read(work / "Temp" / "MP3.swf");
    for (const probe::Tag& t : clip.tags) {
        if (t.code == 14) {
            return t;
        }
    }
    ADD_FAILURE() << "no DefineSound in the music clip";
    return {};
}

bool Contains(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

TEST_F(GiftTest, Mp3MusicAt44kIsCarriedUnchanged) {
    project = PlainProject(2);
    const fs::path mp3 = fs::path(CW_TEST_SOURCE_DIR) / "tests/movie/data/TONE_44K.MP3"; // capitals count
    project.settings.m_strMusic = mp3.string();
    probe::Movie m = Build("music_mp3_44k");
    EXPECT_TRUE(reporter.reasons.empty()) << reporter.reasons.front();
    ASSERT_FALSE(m.frames[0].stage.empty());
    EXPECT_EQ(m.kind(m.frames[0].stage.begin()->second.character), kSprite);
    EXPECT_EQ(m.kind(m.frames[1].stage.begin()->second.character), kSprite); // stays for the whole movie
    const probe::Tag sound = MusicSound(work);
    ASSERT_GT(sound.body.size(), 8u);
    EXPECT_EQ(sound.body[2] >> 4, 2);       // MP3
    EXPECT_EQ((sound.body[2] >> 2) & 3, 3); // 44.1 kHz
    // The same frames: the end of the file's audio data stands in the sound unchanged.
    const std::vector<uint8_t> file = FileBytes(mp3);
    EXPECT_TRUE(Contains(sound.body, std::vector<uint8_t>(file.end() - 2000, file.end())));
}

TEST_F(GiftTest, Mp3MusicAt48kIsReencoded) {
    project = PlainProject(1);
    const fs::path mp3 = fs::path(CW_TEST_SOURCE_DIR) / "tests/movie/data/tone_48k.mp3";
    project.settings.m_strMusic = mp3.string();
    probe::Movie m = Build("music_mp3_48k");
    EXPECT_TRUE(reporter.reasons.empty()) << reporter.reasons.front();
    const probe::Tag sound = MusicSound(work);
    ASSERT_GT(sound.body.size(), 8u);
    EXPECT_EQ(sound.body[2] >> 4, 2);
    EXPECT_NE((sound.body[2] >> 2) & 3, 0); // a rate the movie carries
    const std::vector<uint8_t> file = FileBytes(mp3);
    EXPECT_FALSE(Contains(sound.body, std::vector<uint8_t>(file.end() - 200, file.end())));
}

TEST_F(GiftTest, UnreadableMp3IsReportedAndTheMovieWritten) {
    project = PlainProject(1);
    std::ofstream(assets / "noise.mp3") << "not an mp3 at all";
    project.settings.m_strMusic = (assets / "noise.mp3").string();
    probe::Movie m = Build("music_unreadable");
    EXPECT_EQ(reporter.reasons,
              std::vector<std::string>{"Failed to add music to the e-gift; please try again."});
    EXPECT_EQ(m.placed(0, kSprite).size(), 0u);
    EXPECT_FALSE(fs::exists(work / "Temp" / "MP3.swf")); // no stale clip of an earlier generation
}

TEST_F(GiftTest, FontsFollowTheProjectFace) {
    project = PlainProject(1);
    builder->LoadGiftFonts(0);
    const auto sans = builder->BodyFont();
    ASSERT_TRUE(sans);
    Build("fonts_kept");
    EXPECT_EQ(builder->BodyFont(), sans); // same face: kept between generations
    project.settings.m_strFont = "Serif";
    Build("fonts_changed");
    ASSERT_TRUE(builder->BodyFont());
    EXPECT_NE(builder->BodyFont()->name(), sans->name()); // the new face, without Open or New
    project.settings.m_strFont = "NoSuchFace";
    builder->LoadGiftFonts(0); // falls back to Sans
    EXPECT_EQ(builder->BodyFont()->name(), sans->name());
}

} // namespace
} // namespace gifttest
