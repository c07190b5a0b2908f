#include "check/finding.h"

#include <algorithm>

namespace check {

std::string_view SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::string_view KindName(Kind kind) {
    switch (kind) {
    case Kind::GotoPastEnd:
        return "goto-past-end";
    case Kind::Unreachable:
        return "unreachable";
    case Kind::ConditionNever:
        return "condition-never";
    case Kind::ConditionAlways:
        return "condition-always";
    case Kind::MissingFile:
        return "missing-file";
    case Kind::MissingGlyph:
        return "missing-glyph";
    case Kind::LowContrast:
        return "low-contrast";
    case Kind::EmptyTitle:
        return "empty-title";
    case Kind::AlertWithoutAddress:
        return "alert-without-address";
    }
    return "unknown";
}

Severity SeverityOf(Kind kind) {
    switch (kind) {
    case Kind::GotoPastEnd:
    case Kind::MissingFile:
    case Kind::AlertWithoutAddress:
        return Severity::Error;
    default:
        return Severity::Warning;
    }
}

bool HasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

} // namespace check
