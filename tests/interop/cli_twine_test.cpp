// cardwright-cli import and export as a user runs them: exit statuses, warnings on stderr, files.
#include "model/archive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

class CliTwineTest : public ::testing::Test {
protected:
    // A folder per test: ctest runs the cases side by side.
    fs::path dir = fs::path(CW_TEST_BINARY_DIR) / "interop-cli" /
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        Write("good.twee", ":: Start\nHello <<set $x to 1>>\n[[On|Next]] [[Lost]]\n:: Next\nBye\n");
        Write("notes.txt", "Nothing to see.\n");
        Write("broken.html", "<html><tw-storydata name=\"x\"></tw-storydata></html>");
        Write("broken.cwp", "not a project");
    }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    struct Result {
        int status;
        std::string err;
    };

    Result Run(const std::string& args) const {
        const std::string command = "cd '" + dir.string() + "' && CARDWRIGHT_WORK='" +
                                    (dir / "work").string() + "' '" + CW_CLI_PATH + "' " + args +
                                    " >/dev/null 2>err.txt";
        const int raw = std::system(command.c_str());
        std::ifstream in(dir / "err.txt");
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
    }
};

TEST_F(CliTwineTest, ImportAndExportExitStatusesAndFiles) {
    struct Case {
        const char* args;
        int status;
        const char* output; // written on success only
        const char* err;    // part of stderr
    };
    const Case cases[] = {
        {"import good.twee -o good.cwp", 0, "good.cwp",
         "warning: passage \"Start\": removed <<set>>; link \"Lost\" to \"Lost\" dropped"},
        {"import notes.txt -o notes.cwp", 2, "notes.cwp", "neither a Twee 3 story"},
        {"import broken.html -o broken.cwp2", 2, "broken.cwp2", "no passage"},
        {"import missing.twee -o missing.cwp", 2, "missing.cwp", "cannot read"},
        {"import good.twee", 64, "", "missing -o"},
        {"export good.cwp --twee good.twee2", 0, "good.twee2", ""},
        {"export broken.cwp --twee broken.twee", 2, "broken.twee", "old version"},
        {"export good.cwp", 64, "", "missing --twee"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (*c.output) {
            EXPECT_EQ(fs::exists(dir / c.output), c.status == 0);
        }
    }
    const model::Project p = model::LoadProjectFile(dir / "good.cwp");
    ASSERT_EQ(p.CardCount(), 2);
    EXPECT_EQ(p.cards[0]->m_pLinks->Count(), 1);
    std::ifstream twee(dir / "good.twee2");
    const std::string text((std::istreambuf_iterator<char>(twee)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(text.starts_with(":: StoryTitle\nStart\n")) << text;
    EXPECT_NE(text.find(":: Start\nHello \n[[On|Next]]"), std::string::npos) << text;
}

TEST_F(CliTwineTest, HelpNamesBothCommands) {
    for (const char* args : {"import --help", "export --help"}) {
        EXPECT_EQ(Run(args).status, 0) << args;
    }
}

} // namespace
