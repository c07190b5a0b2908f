// Helpers of the publishing tests: a fresh folder per test, and a fake xdg-email on PATH that records
// its arguments.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace publish_test {

// A fresh empty folder for the running test under the build tree's test-work/publish.
std::filesystem::path FreshFolder(const std::string& name);

// A program named `name` in `folder` that writes its arguments, one per line, to `folder`/args.txt and
// exits with `status`; `folder` is put first on PATH for the life of the object.
class FakeProgram {
public:
    FakeProgram(const std::filesystem::path& folder, const std::string& name, int status);
    ~FakeProgram();
    std::vector<std::string> Arguments() const;
    bool Ran() const;

private:
    std::filesystem::path m_folder;
    std::string m_oldPath;
};

std::string ReadText(const std::filesystem::path& file);
void WriteText(const std::filesystem::path& file, const std::string& text);

} // namespace publish_test
