#include "publish_flow_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace publish_test {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(CW_TEST_BINARY_DIR) / "test-work" / "publish" /
                            (std::string(info->test_suite_name()) + "." + info->name()) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

FakeProgram::FakeProgram(const fs::path& folder, const std::string& name, int status) : m_folder(folder) {
    const fs::path program = folder / name;
    WriteText(program,
              "#!/bin/sh\n: > \"$(dirname \"$0\")/args.txt\"\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> "
              "\"$(dirname \"$0\")/args.txt\"; done\nexit " +
                  std::to_string(status) + "\n");
    fs::permissions(program, fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    m_oldPath = path ? path : "";
    setenv("PATH", (folder.string() + ":" + m_oldPath).c_str(), 1);
}

FakeProgram::~FakeProgram() {
    setenv("PATH", m_oldPath.c_str(), 1);
}

bool FakeProgram::Ran() const {
    return fs::exists(m_folder / "args.txt");
}

std::vector<std::string> FakeProgram::Arguments() const {
    std::istringstream in(ReadText(m_folder / "args.txt"));
    std::vector<std::string> args;
    for (std::string line; std::getline(in, line);) {
        args.push_back(line);
    }
    return args;
}

} // namespace publish_test
