// make_help_and_samples DATA_DIR WORK_DIR: builds the finished sample movies shown by View Samples
// (Samples/workout.swf, Samples/loveletter.swf) and the help movie CWPHelp.swf with the gift builder,
// from projects written here. WORK_DIR holds the builder's Temp files. Any problem the builder reports
// fails the build, so a broken sample never ships.
#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

// Turns every report and hint into a failure of the build step.
class StrictReporter : public app::ErrorReporter {
public:
    StrictReporter() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view text) override { problems += std::string(text) + "\n"; }
    std::string problems;

protected:
    bool AskToSave(const std::string& text) override {
        problems += text + "\n";
        return false;
    }
};

model::CCardInfo& AddCard(model::Project& p, const std::string& title, const std::string& comment,
                          const std::string& background = "", int align = 10) {
    auto card = model::CCardInfo::MakeNew(p.CardCount());
    card->m_strTitle = title;
    card->m_strComment = comment;
    if (!background.empty()) {
        card->m_strBackground = background;
        card->m_nBgAlign = align;
        card->m_bProjectBg = 0;
    }
    p.cards.push_back(std::move(card));
    return *p.cards.back();
}

void Link(model::CCardInfo& card, const std::string& title, int go, int score = 0,
          const std::string& compare = "", int value = 0, int thenGo = 0) {
    card.m_pLinks->AddLink(title, go, score, -1, compare, value, thenGo);
}

model::Project Settings(const std::string& background, const std::string& button) {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_strAuthor = "Cardwright";
    p.settings.m_strBackground = background;
    p.settings.m_strButton = button;
    p.settings.m_bPromoteEach = 0;
    return p;
}

// A short workout that branches on how the visitor feels: the score counts the effort chosen.
model::Project Workout() {
    model::Project p = Settings("#E8F4FF", "#2781C4");
    p.settings.m_strButtonTextColor = "#FFFFFF";
    auto& start = AddCard(p, "Five-minute desk workout",
                          "Stand up, roll your shoulders and pick your pace.\r\nEvery card is one minute.");
    Link(start, "Easy", 1, 1);
    Link(start, "Power", 1, 3);
    auto& stretch = AddCard(p, "1. Reach for the ceiling",
                            "Stretch both arms up, hold for ten breaths,\r\nthen let them fall slowly.",
                            "Background\\Sunrise.jpg");
    stretch.m_strTitleColor = "#FFFFFF";
    stretch.m_strCommentColor = "#FFFFFF";
    Link(stretch, "Next", 2);
    auto& squats =
        AddCard(p, "2. Chair squats",
                "Sit down and stand up again without using your hands.\r\nTen times, slow and steady.");
    Link(squats, "Next", 3);
    Link(squats, "Rest", 4);
    auto& march =
        AddCard(p, "3. March on the spot", "Knees high for one minute.\r\nSwing your arms as you go.",
                "Background\\Meadow.png");
    Link(march, "Finish", 4, 0, ">=", 3, 5);
    auto& rest = AddCard(p, "Well done",
                         "A gentle session is still a session.\r\nDrink some water and come back tomorrow.");
    Link(rest, "Again", 0);
    auto& champion =
        AddCard(p, "Champion!", "You went full power all the way.\r\nTime for a glass of water and a smile.");
    champion.m_strTitleColor = "#C0392B";
    Link(champion, "Again", 0);
    return p;
}

// A love letter in four cards with a question at the end.
model::Project LoveLetter() {
    model::Project p = Settings("#FFE4EC", "#D6336C");
    p.settings.m_strButtonTextColor = "#FFFFFF";
    p.settings.m_strFont = "Serif";
    p.settings.m_strMusic = "Music\\Chord.mp3";
    auto& open = AddCard(p, "To you, my dear",
                         "I wrote this little letter so you can read it\r\nas often as you like.");
    open.m_strTitleColor = "#A61E4D";
    Link(open, "Open", 1);
    auto& first = AddCard(p, "The day we met",
                          "It rained, you laughed at my umbrella,\r\nand the grey afternoon turned golden.",
                          "Background\\Night.bmp");
    first.m_strTitleColor = "#FFFFFF";
    first.m_strCommentColor = "#FFE4EC";
    Link(first, "Then?", 2);
    auto& every = AddCard(p, "Every day since",
                          "Your voice in the morning, your notes on the fridge,\r\n"
                          "the way you hum when you cook.");
    every.m_strTitleColor = "#A61E4D";
    Link(every, "More", 3);
    auto& question =
        AddCard(p, "Will you have dinner with me tonight?", "Candles, your favourite soup, and me.");
    question.m_strTitleColor = "#A61E4D";
    Link(question, "Yes!", 4);
    Link(question, "Sure!", 4);
    auto& yes = AddCard(p, "See you at eight", "I love you.", "Background\\Dots.gif", 9);
    yes.m_strTitleColor = "#A61E4D";
    Link(yes, "Again", 0);
    return p;
}

// The help movie: a few cards that explain the editor.
model::Project Help() {
    model::Project p = Settings("#FFFFFF", "#2781C4");
    p.settings.m_strButtonTextColor = "#FFFFFF";
    auto& home = AddCard(p, "Cardwright help",
                         "Make an interactive greeting: cards with text and pictures,\r\n"
                         "joined by links the visitor clicks. Pick a topic.");
    Link(home, "Cards", 1);
    Link(home, "Links", 2);
    Link(home, "Scores", 3);
    Link(home, "Preview", 4);
    Link(home, "Finish", 5);
    auto& cards = AddCard(p, "Cards",
                          "F2 adds a card. Type its title and comment below the preview;\r\n"
                          "the preview follows every key. Add Pics sets a background,\r\n"
                          "the colour buttons colour the title and the comment.");
    Link(cards, "Back", 0);
    auto& links = AddCard(p, "Links",
                          "F3 adds a link to the selected card: a button with a title.\r\n"
                          "Goto names the card the button leads to.\r\n"
                          "The tree shows each link under its card.");
    Link(links, "Back", 0);
    auto& scores = AddCard(p, "Scores and branches",
                           "A link can add to the visitor's score.\r\n"
                           "With a comparison (for example >= 10) it leads to its\r\n"
                           "second card when the score passes: quizzes and stories that branch.");
    Link(scores, "Back", 0);
    auto& preview = AddCard(p, "Preview",
                            "F5 plays the whole gift as your visitor will see it,\r\n"
                            "links, music and all. Close the window to keep editing.");
    Link(preview, "Back", 0);
    auto& finish = AddCard(p, "Finish",
                           "Finish makes the gift: a movie, a page that plays it,\r\n"
                           "a zip to send, or a mail with the gift attached.\r\n"
                           "Save often: Ctrl+S keeps your project.");
    Link(finish, "Back", 0);
    return p;
}

void Build(model::Project project, const fs::path& data, const fs::path& work, const fs::path& out) {
    const app::Workspace workspace(data, work);
    if (!workspace.EnsureTempDir()) {
        throw std::runtime_error("cannot create " + workspace.TempDir().string());
    }
    app::AppState state;
    StrictReporter reporter;
    movie::GiftBuilder builder(project, state, workspace, reporter);
    builder.LoadGiftFonts(1);
    fs::create_directories(out.parent_path());
    builder.GenerateSWF(out, nullptr, 1, 0);
    if (!reporter.problems.empty()) {
        throw std::runtime_error(out.string() + ": " + reporter.problems);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_help_and_samples DATA_DIR WORK_DIR\n");
        return 2;
    }
    const fs::path data = argv[1];
    const fs::path work = argv[2];
    try {
        Build(Workout(), data, work, data / "Samples" / "workout.swf");
        Build(LoveLetter(), data, work, data / "Samples" / "loveletter.swf");
        Build(Help(), data, work, data / "CWPHelp.swf");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_help_and_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
