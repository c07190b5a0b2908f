// Shared set-up of the builder tests: a work folder of its own, the build tree's data root (fonts), a
// reporter that records what it is told, pictures made on the fly, and the movie folder.
#pragma once

#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"
#include "movie/swf_probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace gifttest {

namespace fs = std::filesystem;

class RecordingReporter : public app::ErrorReporter {
public:
    RecordingReporter() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view text) override { tips.emplace_back(text); }
    std::vector<std::string> reasons; // the reason part of each report
    std::vector<std::string> tips;

protected:
    bool AskToSave(const std::string& text) override;
};

// Where every test writes its movies: <build>/test-movies/gift/.
fs::path MovieFolder();

// A picture of one colour, written by libvips; the format follows the extension.
void WritePicture(const fs::path& file, int width, int height, uint8_t r, uint8_t g, uint8_t b);

// A project of `cards` plain cards with colour backgrounds and no links, credits off.
model::Project PlainProject(int cards);

class GiftTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes the whole movie (or card `single`) to test-movies/gift/<name>.swf and reads it back.
    probe::Movie Build(const std::string& name, int single = -1, int force = 1);

    fs::path work;   // this test's work folder
    fs::path assets; // pictures this test makes
    model::Project project;
    app::AppState state;
    std::unique_ptr<app::Workspace> workspace;
    RecordingReporter reporter;
    std::unique_ptr<movie::GiftBuilder> builder;
};

} // namespace gifttest
