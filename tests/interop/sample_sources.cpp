// The sample movies' projects live in the program that builds the movies; they are taken from its source
// here, with its main renamed out of the way, so the tests see exactly the projects that ship.
#define main make_help_and_samples_main
#include "movie/samples/make_help_and_samples.cpp"
#undef main

#include "sample_sources.h"

namespace interop::test {

std::vector<std::pair<std::string, model::Project>> SampleSourceProjects() {
    std::vector<std::pair<std::string, model::Project>> out;
    out.emplace_back("Workout", Workout());
    out.emplace_back("LoveLetter", LoveLetter());
    out.emplace_back("Help", Help());
    return out;
}

} // namespace interop::test
