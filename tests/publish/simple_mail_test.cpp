// The mail of Finish handed to xdg-email (a fake one on PATH that records its arguments), and the .eml
// draft written when no mail program answers, read back by Python's email package.
#include "publish/simple_mail.h"
#include "publish_flow_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using publish_test::FakeProgram;
using publish_test::FreshFolder;

struct MailCase {
    const char* name;
    bool zip;
    bool page;
    std::vector<std::string> shown; // the attachments' names, in order
};

void PrintTo(const MailCase& c, std::ostream* out) {
    *out << c.name;
}

class FinishMailTest : public ::testing::TestWithParam<MailCase> {};

TEST_P(FinishMailTest, HandsSubjectBodyAndAttachmentsInOrder) {
    const MailCase& c = GetParam();
    const fs::path dir = FreshFolder("files");
    publish_test::WriteText(dir / "my gift.swf", "FWS movie");
    publish_test::WriteText(dir / "my gift.swf.zip", "PK zip");
    publish_test::WriteText(dir / "my gift.html", "<html>");
    FakeProgram fake(FreshFolder("bin"), "xdg-email", 0);

    const auto mail = publish::FinishMail("ann@example.org", dir / "my gift.swf",
                                          c.zip ? std::optional(dir / "my gift.swf.zip") : std::nullopt,
                                          c.page ? std::optional(dir / "my gift.html") : std::nullopt);
    const publish::MailOutcome outcome = mail.Send(FreshFolder("temp"), dir / "my gift.swf.eml");

    ASSERT_EQ(outcome.result, publish::MailResult::Handed) << outcome.reason;
    const std::vector<std::string> args = fake.Arguments();
    std::vector<std::string> expected = {
        "--utf8", "--cc", "Cardwright", "--subject", "Gift for you", "--body", "Body text for this email"};
    std::vector<std::string> attached;
    for (size_t i = expected.size(); i + 1 < args.size(); i += 2) {
        EXPECT_EQ(args[i], "--attach");
        attached.push_back(fs::path(args[i + 1]).filename().string());
        EXPECT_EQ(publish_test::ReadText(args[i + 1]),
                  publish_test::ReadText(mail.Attachments()[attached.size() - 1].path));
    }
    ASSERT_GE(args.size(), expected.size());
    EXPECT_EQ(std::vector(args.begin(), args.begin() + long(expected.size())), expected);
    EXPECT_EQ(args.size(), expected.size() + 2 * c.shown.size()) << "no primary recipient is filled in";
    EXPECT_EQ(attached, c.shown);
    EXPECT_FALSE(fs::exists(dir / "my gift.swf.eml"));
}

INSTANTIATE_TEST_SUITE_P(
    Mail, FinishMailTest,
    ::testing::Values(MailCase{"movie", false, false, {"Run me first.swf"}},
                      MailCase{"movie_zip", true, false, {"Run me first.swf", "Special gift but locked.zip"}},
                      MailCase{"movie_zip_page",
                               true,
                               true,
                               {"Run me first.swf", "Special gift but locked.zip",
                                "Open me in any browser.html"}}),
    [](const auto& info) { return std::string(info.param.name); });

// No mail program (exit 3) or no xdg-email at all: the draft keeps the attachments byte for byte.
TEST(MailDraftTest, NoMailProgramWritesADraftPythonReadsBack) {
    for (const char* program : {"xdg-email", "cw-no-such-mail-program"}) {
        const fs::path dir = FreshFolder("files");
        std::string movie(70000, '\0');
        for (size_t i = 0; i < movie.size(); ++i) {
            movie[i] = char(i * 7 + i / 251);
        }
        publish_test::WriteText(dir / "gift.swf", movie);
        publish_test::WriteText(dir / "gift.swf.zip", std::string("PK\x03\x04 locked\r\n\0\xff", 15));
        FakeProgram fake(FreshFolder("bin"), "xdg-email", 3);

        const auto mail =
            publish::FinishMail("ann@example.org", dir / "gift.swf", dir / "gift.swf.zip", std::nullopt);
        const fs::path draft = publish::DraftPathFor(dir / "gift.swf");
        const publish::MailOutcome outcome = mail.Send(FreshFolder("temp"), draft, program);

        ASSERT_EQ(outcome.result, publish::MailResult::DraftWritten) << program;
        EXPECT_EQ(outcome.draft, draft);
        EXPECT_EQ(draft.filename(), "gift.swf.eml");
        const std::string command = "/usr/bin/python3 " CW_TEST_SOURCE_DIR "/tests/publish/check_eml.py '" +
                                    draft.string() + "' 'Run me first.swf=" + (dir / "gift.swf").string() +
                                    "' 'Special gift but locked.zip=" + (dir / "gift.swf.zip").string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << program;
    }
}

TEST(MailDraftTest, MissingAttachmentIsLeftOutAndNamed) {
    const fs::path dir = FreshFolder("files");
    publish_test::WriteText(dir / "gift.swf", "FWS");
    FakeProgram fake(FreshFolder("bin"), "xdg-email", 0);
    const auto mail = publish::FinishMail("", dir / "gift.swf", dir / "gift.swf.zip", std::nullopt);
    const publish::MailOutcome outcome = mail.Send(FreshFolder("temp"), dir / "gift.swf.eml");
    EXPECT_EQ(outcome.result, publish::MailResult::Handed);
    EXPECT_EQ(outcome.missing, std::vector<fs::path>{dir / "gift.swf.zip"});
    EXPECT_EQ(fake.Arguments().size(), 9u); // seven fixed arguments and one attachment
}

} // namespace
