// The project as JSON for dump and pack: {"cards": [...], "settings": {...}}, keys named after the
// members, strings UTF-8. Reading takes a missing key as the value a new card, link or project has.
#pragma once

#include "model/project.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace cli {

// Bad JSON, an unknown key or a value of the wrong type; what() names the key.
class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string ProjectToJson(const model::Project& project);
model::Project ProjectFromJson(std::string_view text);

} // namespace cli
