#include "publish/finish_flow.h"

#include <memory>

namespace publish {

namespace fs = std::filesystem;

namespace {

// One run of the flow: what it knows so far, kept alive by the continuations of its long steps.
struct FinishRun : std::enable_shared_from_this<FinishRun> {
    FinishChoices choices;
    FinishSteps steps;
    fs::path movie;
    std::optional<fs::path> zip;
    std::optional<fs::path> page;

    void End() const {
        if (steps.ended) {
            steps.ended();
        }
    }

    void Start() {
        if (choices.targetPath.empty()) {
            steps.inform(kNoTarget);
            End();
            return;
        }
        movie = choices.targetPath;
        if (!choices.encrypt) {
            Generate();
            return;
        }
        steps.inform(kZipIt);
        zip = LockedZipPath(movie);
        steps.buildZip(*zip, choices.lockFolder, choices.password,
                       [self = shared_from_this()](std::vector<PublishMessage> messages) {
                           for (const PublishMessage& m : messages) {
                               self->steps.show(m);
                           }
                           self->Generate();
                       });
    }

    void Generate() {
        steps.generate(movie, [self = shared_from_this()](bool written) {
            if (!written) {
                self->End();
            } else if (self->choices.makeSelfRunning) {
                self->steps.makeSelfRunning(self->movie, [self](std::optional<fs::path> page) {
                    self->page = std::move(page);
                    self->Deliver();
                });
            } else {
                self->Deliver();
            }
        });
    }

    void Deliver() {
        if (choices.sendMail) {
            steps.mail(movie, zip, page, [self = shared_from_this()] { self->End(); });
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
        End();
    }
};

} // namespace

void RunFinish(const FinishChoices& choices, FinishSteps steps) {
    auto run = std::make_shared<FinishRun>();
    run->choices = choices;
    run->steps = std::move(steps);
    run->Start();
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
