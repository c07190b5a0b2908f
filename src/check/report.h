// The checker's findings as text: one line a finding, or JSON. Cards and links are numbered from 1, as
// the tree shows them.
#pragma once

#include "check/finding.h"
#include "model/project.h"

#include <string>
#include <vector>

namespace check {

// card 3 "Title", link 2: warning: unreachable: message
// project: error: missing-file: message          (a finding of the project's)
std::string FormatLine(const model::Project& project, const Finding& finding);

// {"findings": [{"card": 3, "link": 2, "severity": "warning", "kind": "...", "message": "..."}]}, with
// null for no card or no link.
std::string FindingsToJson(const std::vector<Finding>& findings);

} // namespace check
