// Which cards a visitor can reach and with which running scores, by the movie's own rules: the movie
// starts on the first card with score 0; a link adds its points, then tests its condition on the new
// score and goes to its then-goto when the condition holds, else to its goto; entering the first card
// from another card runs its opening action again (score 0), while a link from a card to itself keeps
// the score; with the slide show on (any value but 0: the movie then has no stop action), the movie
// also runs from each card to the next and from the last back to the first.
#pragma once

#include "check/score_range.h"
#include "model/project.h"

#include <vector>

namespace check {

// One way out of a card: a link's goto or then-goto (or the slide show's step, link -1) and the scores
// it carries to its target.
struct Move {
    int to = 0;
    int link = -1; // 0-based link on the card, -1 for the slide show
    bool then = false;
    ScoreRange scores;
};

// The moves out of `card` when it is entered with `entry`; targets outside the card list are left out.
std::vector<Move> MovesFrom(const model::Project& project, int card, const ScoreRange& entry);

// The scores each card can be entered with (empty for a card no path reaches), found by a fixpoint over
// the cards' strongly connected parts in path order; inside a loop, an end that keeps growing becomes
// unbounded.
std::vector<ScoreRange> EntryScores(const model::Project& project);

} // namespace check
