// cardwright-cli new, dump and pack, run as a user runs them: exit status, stdout, stderr and files.
#include "archive_bytes.h"
#include "model/archive.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using model::Project;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> ReadBytes(const fs::path& p) {
    const std::string s = ReadText(p);
    return {s.begin(), s.end()};
}

void WriteBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class CliTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::path(CW_TEST_BINARY_DIR) / "cli-files" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }

    RunResult Run(const std::string& args) const {
        const fs::path out = dir / "stdout.txt";
        const fs::path err = dir / "stderr.txt";
        const std::string command = "cd '" + dir.string() + "' && CARDWRIGHT_WORK='" +
                                    (dir / "work").string() + "' '" + CW_CLI_PATH + "' " + args + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    }

    // dump then pack; the packed file must equal the original bytes.
    void ExpectDumpPackSame(const std::vector<uint8_t>& bytes, const std::string& name) {
        SCOPED_TRACE(name);
        WriteBytes(dir / (name + ".cwp"), bytes);
        const RunResult dump = Run("dump " + name + ".cwp");
        ASSERT_EQ(dump.status, 0) << dump.err;
        std::ofstream(dir / (name + ".json"), std::ios::binary) << dump.out;
        const RunResult pack = Run("pack " + name + ".json -o " + name + "-packed.cwp");
        ASSERT_EQ(pack.status, 0) << pack.err;
        EXPECT_EQ(ReadBytes(dir / (name + "-packed.cwp")), bytes);
    }
};

TEST_F(CliTest, NewWritesTheDefaultProjectAndDumpShowsIt) {
    const RunResult r = Run("new -o d.cwp");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint8_t> bytes = ReadBytes(dir / "d.cwp");
    model::test::Bytes head;
    head.U32(1).Class("CObList", 0).U16(3).Class("CCardInfo", 1);
    ASSERT_GT(bytes.size(), head.v.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + head.v.size()), head.v);

    const RunResult dump = Run("dump d.cwp");
    ASSERT_EQ(dump.status, 0);
    const auto json = nlohmann::json::parse(dump.out);
    ASSERT_EQ(json["cards"].size(), 3u);
    EXPECT_EQ(json["cards"][0]["m_strTitle"], "Card 1:");
    EXPECT_EQ(json["cards"][2]["m_strTitle"], "Card 3:");
    EXPECT_EQ(json["cards"][0]["links"].size(), 2u);
    EXPECT_EQ(json["cards"][1]["links"].size(), 2u);
    EXPECT_EQ(json["cards"][2]["links"].size(), 0u);
    EXPECT_EQ(json["cards"][0]["links"][1]["m_nGoto"], 1);
    EXPECT_EQ(json["cards"][1]["links"][0]["m_nGoto"], 2);
    EXPECT_EQ(json["settings"]["m_strBackground"], "#FFFFFF");
    EXPECT_EQ(json["settings"]["m_strFont"], "Sans");
    // The keys, in member order.
    std::vector<std::string> keys;
    for (const auto& [k, v] : json["cards"][0].items()) {
        keys.push_back(k);
    }
    EXPECT_EQ(keys.size(), 10u);
    EXPECT_EQ(json["settings"].size(), 14u);
    EXPECT_EQ(json["cards"][0]["links"][0].size(), 6u);
    EXPECT_TRUE(fs::exists(dir / "work" / "cwp.log"));
}

TEST_F(CliTest, DumpThenPackGivesBackTheSameBytes) {
    ExpectDumpPackSame(model::WriteProject(model::MakeDefaultProject()), "default");

    Project links = model::MakeDefaultProject();
    links.cards.clear();
    for (int n = 0; n <= 10; ++n) {
        auto card = model::CCardInfo::MakeNew(n);
        card->m_strTitle = n % 3 ? "" : "Card";
        for (int i = 0; i < n; ++i) {
            card->m_pLinks->AddLink(i % 2 ? "" : "Go", n - i, -5 * i, -1, "<=", -2147483647 - 1, 2147483647);
        }
        links.cards.push_back(std::move(card));
    }
    ExpectDumpPackSame(model::WriteProject(links), "links");

    Project strings = model::MakeDefaultProject();
    const size_t lengths[] = {254, 255, 65533, 65534, 70000};
    for (size_t i = 0; i < 3; ++i) {
        strings.cards[i]->m_strTitle = std::string(lengths[i], 'a');
    }
    strings.cards[0]->m_strComment = std::string(lengths[3], 'b');
    strings.cards[1]->m_strComment = std::string(lengths[4], 'c');
    strings.cards[2]->m_strComment =
        "Snow \xE2\x98\x83, clef \xF0\x9D\x84\x9E, quotes \xE2\x80\x9C\xE2\x80\x9D";
    strings.settings = {"Auteur \xC3\xA9",
                        "x@y.z",
                        "Background\\F.jpg",
                        10,
                        "Button\\b.png",
                        "#010203",
                        "C:\\Music\\a.mp3",
                        0,
                        0,
                        1,
                        2,
                        "0.5",
                        1,
                        "Mono"};
    ExpectDumpPackSame(model::WriteProject(strings), "strings");

    // Every byte value in an 8-bit string, as another writer made it.
    Project raw = model::MakeDefaultProject();
    raw.cards[0]->m_strTitle = std::string(256, 'x');
    std::vector<uint8_t> bytes = model::WriteProject(raw);
    for (int b = 0; b < 256; ++b) {
        bytes[4 + 13 + 2 + 15 + 4 + 3 + b] = static_cast<uint8_t>(b);
    }
    ExpectDumpPackSame(bytes, "allbytes");
}

TEST_F(CliTest, DumpIgnoresTheMarker) {
    std::vector<uint8_t> bytes = model::WriteProject(model::MakeDefaultProject());
    bytes[0] = 7;
    WriteBytes(dir / "m.cwp", bytes);
    const RunResult r = Run("dump m.cwp");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(nlohmann::json::parse(r.out)["cards"].size(), 3u);
}

TEST_F(CliTest, DumpOfARefusedFile) {
    std::vector<uint8_t> bytes = model::WriteProject(model::MakeDefaultProject());
    bytes.resize(bytes.size() / 2);
    WriteBytes(dir / "cut.cwp", bytes);
    for (const char* file : {"cut.cwp", "absent.cwp"}) {
        const RunResult r = Run(std::string("dump ") + file);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Can not load this saved file because of old version.\n");
    }
}

TEST_F(CliTest, PackFillsMissingKeysAsNewRecordsHaveThem) {
    std::ofstream(dir / "p.json") << R"({"cards": [{"m_strTitle": "Q1", "links": [{}, {"m_nScore": 5}]},
                                                {"m_bMailAlert": true}]})";
    const RunResult r = Run("pack p.json -o p.cwp");
    ASSERT_EQ(r.status, 0) << r.err;
    const Project p = model::LoadProjectFile(dir / "p.cwp");
    ASSERT_EQ(p.CardCount(), 2);
    EXPECT_EQ(p.cards[0]->m_strTitle, "Q1");
    EXPECT_EQ(p.cards[0]->m_nCardNo, 0);
    EXPECT_EQ(p.cards[0]->m_strComment, "Type your Card 1: here.\r\n\r\nA.\r\nB.\r\n");
    EXPECT_EQ(*p.cards[0]->m_pLinks->m_pLinkList[0], (model::CLinkInfo{"Link 1", 1, 0, "", 0, 0}));
    EXPECT_EQ(*p.cards[0]->m_pLinks->m_pLinkList[1], (model::CLinkInfo{"Link 2", 1, 5, "", 0, 0}));
    EXPECT_EQ(p.cards[1]->m_strTitle, "Card 2:");
    EXPECT_EQ(p.cards[1]->m_nCardNo, 1);
    EXPECT_EQ(p.cards[1]->m_bMailAlert, 1);
    EXPECT_EQ(p.settings, model::NewProjectSettings());
}

TEST_F(CliTest, PackRefusesBadInputNamingTheKeyAndWritesNothing) {
    struct Case {
        const char* json;
        const char* named;
    };
    const Case cases[] = {
        {"{\"cards\": [", "bad JSON"},
        {"[]", "expected an object"},
        {R"({"cards": {}})", "cards: expected a list"},
        {R"({"cards": [{"m_strTitle": 3}]})", "cards[0].m_strTitle: expected a string"},
        {R"({"cards": [{}, {"links": [{"m_nGoto": "1"}]}]})", "cards[1].links[0].m_nGoto"},
        {R"({"cards": [{"links": [{"m_nGoto": 1.5}]}]})", "cards[0].links[0].m_nGoto"},
        {R"({"cards": [{"m_nBgAlign": 2147483648}]})", "cards[0].m_nBgAlign"},
        {R"({"cards": [{"m_nBgAlign": -2147483649}]})", "cards[0].m_nBgAlign"},
        {R"({"cards": [{"links": 1}]})", "cards[0].links: expected a list"},
        {R"({"cards": [{"m_strTitel": "x"}]})", "cards[0].m_strTitel: unknown key"},
        {R"({"settings": {"m_nGiftWidth": null}})", "settings.m_nGiftWidth"},
        {R"({"settings": []})", "settings: expected an object"},
        {R"({"cards": [], "extra": 1})", "extra: unknown key"},
    };
    // An existing file at the output path survives every refusal.
    const std::vector<uint8_t> old = model::WriteProject(model::MakeDefaultProject());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        std::ofstream(dir / "bad.json") << c.json;
        fs::remove(dir / "new.cwp");
        RunResult r = Run("pack bad.json -o new.cwp");
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "new.cwp"));
        WriteBytes(dir / "old.cwp", old);
        r = Run("pack bad.json -o old.cwp");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(ReadBytes(dir / "old.cwp"), old);
    }
}

TEST_F(CliTest, PackWritesNoProjectWithoutCards) {
    std::ofstream(dir / "e.json") << R"({"cards": []})";
    const RunResult r = Run("pack e.json -o e.cwp");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(dir / "e.cwp"));
}

TEST_F(CliTest, AFailedSaveIsReportedAndLogged) {
    const RunResult r = Run("new -o missing/d.cwp");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Reason:\n    Failed to save the current project\nDo you want to save the current project?"),
              std::string::npos)
        << r.err;
    EXPECT_NE(ReadText(dir / "work" / "cwp.log").find(" - \n\nFailed to save the current project\n"),
              std::string::npos);
}

TEST_F(CliTest, HelpAndBadArguments) {
    RunResult r = Run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* name : {"new", "dump", "pack"}) {
        EXPECT_NE(r.out.find(name), std::string::npos);
        r = Run(std::string(name) + " --help");
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(std::string("usage: cardwright-cli ") + name), std::string::npos);
        r = Run("--help");
    }
    const char* bad[] = {
        "", "new", "new -o", "new -x a.cwp", "dump", "dump a.cwp b.cwp", "pack a.json", "frobnicate"};
    for (const char* args : bad) {
        r = Run(args);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_NE(r.err, "") << args;
        EXPECT_EQ(r.out, "") << args;
    }
}

} // namespace
