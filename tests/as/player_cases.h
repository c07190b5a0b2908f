// Scripts whose trace() output the real-player tests compare: each case is a movie of an empty first
// frame followed by one frame per script (the last one ends with stop()), and the exact traces Ruffle
// must print. player_movies_test.cpp writes them; tests/e2e/actionscript.suite.mjs plays them.
#pragma once

#include <string>
#include <vector>

namespace as_test {

struct PlayerCase {
    std::string name;
    std::vector<std::string> frames; // frame scripts, from frame 2 on
    std::vector<std::string> traces;
};

std::vector<PlayerCase> player_cases();

} // namespace as_test
