// Small projects for the checker and map tests, written as tables: each card a list of links.
#pragma once

#include "model/project.h"

#include <string>
#include <vector>

namespace checktest {

struct L {
    L(int go, int score = 0, std::string op = {}, int value = 0, int then = 0, std::string title = "Go")
        : go(go), score(score), op(std::move(op)), value(value), then(then), title(std::move(title)) {}
    int go;
    int score;
    std::string op; // "" for no condition
    int value;
    int then;
    std::string title;
};

// Cards titled "C1", "C2", ... on white with black text, each with the given links; slide show as asked.
inline model::Project Make(const std::vector<std::vector<L>>& cards, bool slideShow = false) {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_bSlideShow = slideShow ? 1 : 0;
    for (size_t c = 0; c < cards.size(); ++c) {
        auto card = model::CCardInfo::MakeNew(static_cast<int>(c));
        card->m_strTitle = "C" + std::to_string(c + 1);
        card->m_strComment = "Text";
        for (const L& l : cards[c]) {
            card->m_pLinks->AddLink(l.title, l.go, l.score, -1, l.op, l.value, l.then);
        }
        p.cards.push_back(std::move(card));
    }
    return p;
}

} // namespace checktest
