#include "finish_prompts_support.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace finish_test {

namespace fs = std::filesystem;

bool RunToEnd(const publish_ui::PublishContext& ctx, void (*command)(publish_ui::PublishContext)) {
    auto over = std::make_shared<bool>(false);
    publish_ui::PublishContext running = ctx;
    running.ended = [over] { *over = true; };
    command(std::move(running));
    return QTest::qWaitFor([over] { return *over; }, 60000);
}

publish_ui::PublishPrompts PromptRecorder::Prompts() {
    publish_ui::PublishPrompts p;
    p.saveFile = [this](QWidget*, const publish_ui::SaveFileRequest& request) {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) {
            return QString();
        }
        const QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    };
    p.chooseFolder = [this](QWidget*, const QString& title) {
        folderTitles << title;
        if (folderAnswers.empty()) {
            return QString();
        }
        const QString answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    };
    p.message = [this](QWidget*, QMessageBox::Icon, const QString& text, QMessageBox::StandardButtons) {
        messages << text;
        if (buttonAnswers.empty()) {
            return QMessageBox::Ok;
        }
        const QMessageBox::StandardButton answer = buttonAnswers.front();
        buttonAnswers.pop_front();
        return answer;
    };
    return p;
}

fs::path FreshFolder(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(CW_TEST_BINARY_DIR) / "test-work" / "finish" /
                            (std::string(info->test_suite_name()) + "." + info->name()) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void WriteMovie(const fs::path& path) {
    fs::copy_file(fs::path(CW_TEST_DATA_DIR) / "Background" / "Bubbles.swf", path,
                  fs::copy_options::overwrite_existing);
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

FakeMailProgram::FakeMailProgram(const fs::path& folder, int status) : m_folder(folder) {
    const fs::path program = folder / "xdg-email";
    std::ofstream(program)
        << "#!/bin/sh\n: > \"$(dirname \"$0\")/args.txt\"\nfor a in \"$@\"; do printf '%s\\n' "
           "\"$a\" >> \"$(dirname \"$0\")/args.txt\"; done\nexit "
        << status << "\n";
    fs::permissions(program, fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    m_oldPath = path ? path : "";
    setenv("PATH", (folder.string() + ":" + m_oldPath).c_str(), 1);
}

FakeMailProgram::~FakeMailProgram() {
    setenv("PATH", m_oldPath.c_str(), 1);
}

std::vector<std::string> FakeMailProgram::Arguments() const {
    std::ifstream in(m_folder / "args.txt");
    std::vector<std::string> args;
    for (std::string line; std::getline(in, line);) {
        args.push_back(line);
    }
    return args;
}

} // namespace finish_test
