// Resolving stored references such as "Background\Flower.jpg": they keep their Windows form in projects,
// so here "\" becomes "/" and each name is found without regard to case.
#pragma once

#include <filesystem>
#include <string_view>

namespace app {

// True when the reference contains ":" (a drive or URL) or starts with "/".
bool IsAbsoluteReference(std::string_view ref);

// An absolute reference is returned as it is (backslashes kept when it has ":"). A relative one is
// resolved below `root`, each part matched exactly or else without regard to case; parts that match
// nothing are kept as written, so the result names where the file was expected.
std::filesystem::path ResolveReference(const std::filesystem::path& root, std::string_view ref);

} // namespace app
