// The gift checker: one pass over a project that finds what would break or spoil the gift for its
// recipient (paths that go nowhere, cards no path reaches, conditions that cannot change the way,
// missing files, characters no font draws, unreadable colours, untitled cards and links, e-mail alerts
// without an address).
//
//     check::CheckOptions options{workspace.DataRoot(), check::MakeGlyphTip(project, workspace)};
//     for (const check::Finding& f : check::CheckProject(project, options)) ...
#pragma once

#include "check/finding.h"
#include "model/project.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace check {

// Where a text of a card is drawn; the title has its own face.
enum class TextRole { Title, Comment, Caption };

// The builder's tip for the first character of `text` no face of the gift can draw, or nullopt.
using GlyphTip = std::function<std::optional<std::string>(TextRole role, std::string_view text)>;

struct CheckOptions {
    std::filesystem::path dataRoot; // where "Background\..." and the other stored references resolve
    GlyphTip glyphTip;              // empty: characters are not checked
};

// Contrast ratio of two colours (1 to 21), by their relative luminance.
double ContrastRatio(uint32_t rgb1, uint32_t rgb2);
inline constexpr double kMinContrast = 3.0;

// All findings, the project's first, then by card and link in tree order.
std::vector<Finding> CheckProject(const model::Project& project, const CheckOptions& options);

} // namespace check
