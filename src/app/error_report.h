// The error report the core calls when an operation fails: report(reason) builds the three-part message,
// shows it, writes the log reason and, when the user accepts, saves the project; tip(text) shows a short
// hint (a refusal or a non-fatal problem). The editor implements the showing with message boxes and
// balloons, the command line with stderr.
#pragma once

#include "app/reasons.h"

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace app {

class Log;

// The report's message text for a reason.
std::string BuildReportText(std::string_view messageReason);

class ErrorReporter {
public:
    explicit ErrorReporter(Log* log) : m_log(log) {}
    virtual ~ErrorReporter() = default;

    // Shows the report, writes reason.log to the log, and runs the save handler when the user says Yes.
    virtual void report(const Reason& reason);
    // Shows a short hint.
    virtual void tip(std::string_view text) = 0;

    // What "Yes, save the project" runs (the editor's Save in its user form); none by default.
    void SetSaveHandler(std::function<void()> save) { m_save = std::move(save); }

protected:
    // Shows the full report text and returns true when the user wants the project saved.
    virtual bool AskToSave(const std::string& text) = 0;

private:
    Log* m_log;
    std::function<void()> m_save;
};

// Command-line reporter: the report text and hints go to a stream (stderr); the answer is always No.
class ConsoleReporter : public ErrorReporter {
public:
    explicit ConsoleReporter(Log* log, std::FILE* out = stderr) : ErrorReporter(log), m_out(out) {}
    void tip(std::string_view text) override;

protected:
    bool AskToSave(const std::string& text) override;

private:
    std::FILE* m_out;
};

} // namespace app
