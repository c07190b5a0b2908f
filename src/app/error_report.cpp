#include "app/error_report.h"

#include "app/log.h"
#include "model/project_settings.h"

namespace app {

std::string BuildReportText(std::string_view messageReason) {
    std::string text = "You have encountered an error when using Cardwright.\nIf you still encounter problems, "
                       "please try Help or contact ";
    text += model::kSupportEmail;
    text += ".\nMore details are in the log file cwp.log in Cardwright's work folder.\n\nReason:\n    ";
    text += messageReason;
    text += "\nDo you want to save the current project?";
    return text;
}

void ErrorReporter::report(const Reason& reason) {
    const bool save = AskToSave(BuildReportText(reason.message));
    if (m_log != nullptr) {
        m_log->Write(reason.log);
    }
    if (save && m_save) {
        m_save();
    }
}

void ConsoleReporter::tip(std::string_view text) {
    std::fprintf(m_out, "%.*s\n", static_cast<int>(text.size()), text.data());
}

bool ConsoleReporter::AskToSave(const std::string& text) {
    std::fprintf(m_out, "%s\n", text.c_str());
    return false;
}

} // namespace app
