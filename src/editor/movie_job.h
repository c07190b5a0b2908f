// What a movie built on a worker thread reports: the builder's error reports and tips are kept while it
// runs and shown on the GUI thread once it has ended.
#pragma once

#include "app/error_report.h"
#include "app/reasons.h"

#include <QByteArray>

#include <string>
#include <string_view>
#include <vector>

namespace editor {

struct KeptReports {
    std::vector<app::Reason> reports;
    std::vector<std::string> tips;

    // Shows them through `reporter` (on the GUI thread), reports first.
    void ShowThrough(app::ErrorReporter& reporter) const {
        for (const app::Reason& reason : reports) {
            reporter.report(reason);
        }
        for (const std::string& tip : tips) {
            reporter.tip(tip);
        }
    }
};

// The reporter a builder on a worker thread uses: it keeps everything and asks nobody.
class KeepingReporter : public app::ErrorReporter {
public:
    KeepingReporter() : app::ErrorReporter(nullptr) {}
    void report(const app::Reason& reason) override { kept.reports.push_back(reason); }
    void tip(std::string_view text) override { kept.tips.emplace_back(text); }

    KeptReports kept;

protected:
    bool AskToSave(const std::string&) override { return false; }
};

// A movie built on a worker thread: the bytes (when asked for), why it could not be written (empty when
// it was), and what the builder reported.
struct BuiltMovie {
    quint64 request = 0;
    QByteArray bytes;
    std::string error;
    KeptReports kept;
};

} // namespace editor
