// One finding of the gift checker: what is wrong, how bad it is, and the card and link it belongs to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace check {

enum class Severity { Warning, Error };

enum class Kind {
    GotoPastEnd,         // a goto or then-goto beyond the last card
    Unreachable,         // a card no path from the first card reaches
    ConditionNever,      // a link condition no score that reaches it can make true
    ConditionAlways,     // ... or false
    MissingFile,         // a picture, music or clip that is not on disk
    MissingGlyph,        // text with a character no face of the gift has
    LowContrast,         // title or comment colour against the background colour below 3:1
    EmptyTitle,          // a card without a title, a link without a caption
    AlertWithoutAddress, // a card sends the e-mail alert and the project has no author e-mail
};

struct Finding {
    int card = -1; // 0-based; -1 when the finding is the project's
    int link = -1; // 0-based on its card; -1 when it belongs to no link
    Severity severity = Severity::Warning;
    Kind kind = Kind::Unreachable;
    std::string message;

    bool operator==(const Finding&) const = default;
};

std::string_view SeverityName(Severity severity); // "warning", "error"
std::string_view KindName(Kind kind);             // "goto-past-end", "unreachable", ...
Severity SeverityOf(Kind kind);

bool HasErrors(const std::vector<Finding>& findings);

} // namespace check
