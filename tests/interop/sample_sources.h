// The projects of the finished sample movies and the help movie, as their build program writes them.
#pragma once

#include "model/project.h"

#include <string>
#include <utility>
#include <vector>

namespace interop::test {

std::vector<std::pair<std::string, model::Project>> SampleSourceProjects();

} // namespace interop::test
