// The themes for occasions (thank you, wedding, new baby, ...): each a short gift of a few cards with its own
// background picture, button face and tune from data/ (drawn and synthesised by scripts/make-theme-art.sh).
#pragma once

#include "model/project.h"

#include <string>
#include <vector>

namespace samples {

struct NamedTheme {
    std::string name; // the file name in Themes/ without ".cwp", shown in the Open dialog
    model::Project project;
};

std::vector<NamedTheme> OccasionThemes();

} // namespace samples
