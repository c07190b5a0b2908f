// cardwright-cli check and map, run as a user runs them: output lines, JSON, exit statuses, SVG.
#include "check/checker.h"
#include "check_projects.h"
#include "model/archive.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using checktest::L;
using checktest::Make;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CheckCliTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::path(CW_TEST_BINARY_DIR) / "check-cli" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }

    fs::path Save(const model::Project& p, const std::string& name) const {
        const fs::path file = dir / name;
        EXPECT_TRUE(model::SaveProjectFile(p, file));
        return file;
    }

    RunResult Run(const std::string& args) const {
        const fs::path out = dir / "stdout.txt";
        const fs::path err = dir / "stderr.txt";
        const std::string command = "CARDWRIGHT_WORK='" + (dir / "work").string() + "' '" + CW_CLI_PATH +
                                    "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    }
};

TEST_F(CheckCliTest, LinesAndExitStatus) {
    const fs::path clean = Save(Make({{{1}}, {}}), "clean.cwp");
    RunResult r = Run("check '" + clean.string() + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");

    model::Project warned = Make({{{1}}, {}, {}});
    warned.cards[2]->m_strTitle = "Lost";
    r = Run("check '" + Save(warned, "warned.cwp").string() + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "card 3 \"Lost\": warning: unreachable: no path from the first card reaches this card\n");

    model::Project broken = Make({{{1}, {5, 0, "", 0, 0, "Far"}}, {}});
    broken.settings.m_strMusic = "Music\\Gone.mp3";
    r = Run("check '" + Save(broken, "broken.cwp").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "project: error: missing-file: the music \"Music\\Gone.mp3\" is not on disk\n"
              "card 1 \"C1\", link 2: error: goto-past-end: the link goes to card 6, past the last card "
              "(card 2)\n");

    r = Run("check '" + (dir / "absent.cwp").string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
    std::ofstream(dir / "junk.cwp") << "not a project";
    EXPECT_EQ(Run("check '" + (dir / "junk.cwp").string() + "' --json").status, 2);
}

TEST_F(CheckCliTest, Json) {
    model::Project p = Make({{{1}, {5}}, {}, {}});
    p.settings.m_strButton = "Button\\Gone.png";
    const RunResult r = Run("check --json '" + Save(p, "p.cwp").string() + "'");
    EXPECT_EQ(r.status, 1);
    const auto doc = nlohmann::json::parse(r.out);
    const auto expected = nlohmann::json::parse(R"json({"findings": [
        {"card": null, "link": null, "severity": "error", "kind": "missing-file",
         "message": "the button picture \"Button\\Gone.png\" is not on disk"},
        {"card": 1, "link": 2, "severity": "error", "kind": "goto-past-end",
         "message": "the link goes to card 6, past the last card (card 3)"},
        {"card": 3, "link": null, "severity": "warning", "kind": "unreachable",
         "message": "no path from the first card reaches this card"}]})json");
    EXPECT_EQ(doc, expected);

    const RunResult none = Run("check '" + Save(Make({{}}), "one.cwp").string() + "' --json");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(nlohmann::json::parse(none.out), nlohmann::json::parse(R"({"findings": []})"));
}

TEST_F(CheckCliTest, ReadsProjectsBeyondTheEditorsLimit) {
    std::vector<std::vector<L>> cards(350);
    for (int c = 0; c + 1 < 350; ++c) {
        cards[c] = {{c + 1}};
    }
    cards[349] = {{350}};
    const RunResult r = Run("check '" + Save(Make(cards), "big.cwp").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "card 350 \"C350\", link 1: error: goto-past-end: the link goes to card 351, past the last "
              "card (card 350)\n");
}

} // namespace
