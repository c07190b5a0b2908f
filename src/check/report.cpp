#include "check/report.h"

#include <nlohmann/json.hpp>

namespace check {

std::string FormatLine(const model::Project& project, const Finding& f) {
    std::string line;
    if (f.card < 0) {
        line = "project";
    } else {
        const std::string title =
            f.card < project.CardCount() ? project.cards[f.card]->m_strTitle : std::string();
        line = "card " + std::to_string(f.card + 1) + " \"" + title + "\"";
        if (f.link >= 0) {
            line += ", link " + std::to_string(f.link + 1);
        }
    }
    line += ": ";
    line += SeverityName(f.severity);
    line += ": ";
    line += KindName(f.kind);
    line += ": ";
    line += f.message;
    return line;
}

std::string FindingsToJson(const std::vector<Finding>& findings) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Finding& f : findings) {
        nlohmann::ordered_json item;
        item["card"] = f.card < 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(f.card + 1);
        item["link"] = f.link < 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(f.link + 1);
        item["severity"] = SeverityName(f.severity);
        item["kind"] = KindName(f.kind);
        item["message"] = f.message;
        list.push_back(std::move(item));
    }
    nlohmann::ordered_json doc;
    doc["findings"] = std::move(list);
    // Titles are stored as they were typed; bytes that are not UTF-8 are replaced, not refused.
    return doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace check
