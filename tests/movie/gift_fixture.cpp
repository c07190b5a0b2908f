#include "gift_fixture.h"

#include <vips/vips8>

namespace gifttest {

bool RecordingReporter::AskToSave(const std::string& text) {
    const std::string start = "\n\nReason:\n    ";
    const std::string end = "\nDo you want to save the current project?";
    const size_t from = text.find(start);
    const size_t to = text.rfind(end);
    if (from == std::string::npos || to == std::string::npos || to < from) {
        reasons.push_back("unrecognised report: " + text);
    } else {
        reasons.push_back(text.substr(from + start.size(), to - from - start.size()));
    }
    return false;
}

fs::path MovieFolder() {
    fs::path folder = fs::path(CW_TEST_BINARY_DIR) / "test-movies" / "gift";
    fs::create_directories(folder);
    return folder;
}

void WritePicture(const fs::path& file, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    static const bool started = VIPS_INIT("gift_tests") == 0;
    (void)started;
    vips::VImage image = vips::VImage::black(width, height, vips::VImage::option()->set("bands", 3)) +
                         std::vector<double>{double(r), double(g), double(b)};
    image = image.cast(VIPS_FORMAT_UCHAR);
    fs::create_directories(file.parent_path());
    image.write_to_file(file.c_str());
}

model::Project PlainProject(int cards) {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_bPromoteLast = 0;
    for (int i = 0; i < cards; ++i) {
        auto card = model::CCardInfo::MakeNew(i);
        card->m_bProjectBg = 0;
        card->m_strBackground = "#FFFFFF";
        p.cards.push_back(std::move(card));
    }
    return p;
}

void GiftTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    work = fs::path(CW_TEST_BINARY_DIR) / "test-work" / "gift" / name;
    fs::remove_all(work);
    fs::create_directories(work);
    assets = work / "assets";
    fs::create_directories(assets);
    workspace = std::make_unique<app::Workspace>(fs::path(CW_TEST_DATA_DIR), work);
    project = model::MakeDefaultProject();
    builder = std::make_unique<movie::GiftBuilder>(project, state, *workspace, reporter);
}

probe::Movie GiftTest::Build(const std::string& name, int single, int force) {
    const fs::path out = MovieFolder() / (name + ".swf");
    const model::CCardInfo* card = single >= 0 ? project.cards.at(size_t(single)).get() : nullptr;
    EXPECT_EQ(builder->GenerateSWF(out, card, force, single >= 0 ? single : 0), 1);
    return probe::Read(out);
}

} // namespace gifttest
