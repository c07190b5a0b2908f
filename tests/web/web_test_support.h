// What the web page tests share: a silent reporter, a builder over the build tree's data, page text.
#pragma once

#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"
#include "web/page_writer.h"

#include <filesystem>
#include <memory>
#include <string>

namespace web_test {

inline const std::filesystem::path kData = CW_TEST_DATA_DIR;

class SilentReporter : public app::ErrorReporter {
public:
    SilentReporter() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view) override {}

protected:
    bool AskToSave(const std::string&) override { return false; }
};

// A builder for `project` over the build tree's data, with a Temp folder of its own.
struct Builder {
    explicit Builder(model::Project& project, const std::string& work)
        : workspace(kData, std::filesystem::path(CW_TEST_BINARY_DIR) / "web-work" / work),
          builder(project, state, workspace, reporter) {
        workspace.EnsureTempDir();
    }
    app::AppState state;
    app::Workspace workspace;
    SilentReporter reporter;
    movie::GiftBuilder builder;
};

inline std::string Page(model::Project& project, const std::string& lang = "en") {
    Builder b(project, "page");
    return web::BuildWebPage(b.builder, project, web::PageOptions{lang});
}

inline size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace web_test
