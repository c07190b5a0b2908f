#include "publish/finish_flow.h"

namespace publish {

namespace fs = std::filesystem;

void RunFinish(const FinishChoices& choices, const FinishSteps& steps) {
    if (choices.targetPath.empty()) {
        steps.inform(kNoTarget);
        return;
    }
    const fs::path movie = choices.targetPath;
    std::optional<fs::path> zip;
    if (choices.encrypt) {
        steps.inform(kZipIt);
        zip = LockedZipPath(movie);
        for (const PublishMessage& m : steps.buildZip(*zip, choices.lockFolder, choices.password)) {
            steps.show(m);
        }
    }
    steps.generate(movie);
    std::optional<fs::path> page;
    if (choices.makeSelfRunning) {
        page = steps.makeSelfRunning(movie);
    }
    if (choices.sendMail) {
        steps.mail(movie, zip, page);
        return;
    }
    switch (steps.ask(kFinishQuestion)) {
    case Answer::Yes:
        steps.view(movie);
        break;
    case Answer::No:
        steps.showInFolder(movie);
        break;
    case Answer::Cancel:
        break;
    }
}

std::string ShortenPathForDisplay(std::string_view path) {
    // Offsets of the code points (continuation bytes are 10xxxxxx).
    std::vector<size_t> starts;
    for (size_t i = 0; i < path.size(); ++i) {
        if ((static_cast<unsigned char>(path[i]) & 0xC0) != 0x80) {
            starts.push_back(i);
        }
    }
    if (starts.size() <= 30) {
        return std::string(path);
    }
    return std::string(path.substr(0, starts[10])) + "..." +
           std::string(path.substr(starts[starts.size() - 20]));
}

} // namespace publish
