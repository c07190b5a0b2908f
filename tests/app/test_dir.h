// A fresh folder per test under the build tree.
#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace app::test {

inline std::filesystem::path FreshDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir =
        std::filesystem::path(CW_TEST_BINARY_DIR) / "app-files" / info->test_suite_name() / info->name();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void Touch(const std::filesystem::path& p, const std::string& text = "x") {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << text;
}

} // namespace app::test
