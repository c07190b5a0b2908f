#include "check/score_flow.h"

#include <algorithm>

namespace check {

namespace {

// A card whose entry range grew this many times inside a loop has its growing ends made unbounded.
constexpr int kWidenAfter = 3;

bool InRange(const model::Project& project, int card) {
    return card >= 0 && card < project.CardCount();
}

// The successor cards of every card, as the graph the loops are found in (scores aside).
std::vector<std::vector<int>> Successors(const model::Project& project) {
    const int n = project.CardCount();
    std::vector<std::vector<int>> next(n);
    for (int c = 0; c < n; ++c) {
        for (const auto& link : project.cards[c]->m_pLinks->m_pLinkList) {
            if (InRange(project, link->m_nGoto)) {
                next[c].push_back(link->m_nGoto);
            }
            if (!link->m_strCompare.empty() && InRange(project, link->m_nThenGoto)) {
                next[c].push_back(link->m_nThenGoto);
            }
        }
        if (project.settings.m_bSlideShow != 0 && n > 1) {
            next[c].push_back(c + 1 < n ? c + 1 : 0);
        }
    }
    return next;
}

// Strongly connected parts (Tarjan's algorithm without recursion, so long chains of cards cannot exhaust
// the stack), listed so that every part comes before the parts it leads to.
std::vector<std::vector<int>> PartsInPathOrder(const std::vector<std::vector<int>>& next) {
    const int n = static_cast<int>(next.size());
    std::vector<int> index(n, -1);
    std::vector<int> low(n, 0);
    std::vector<bool> onStack(n, false);
    std::vector<int> stack;
    std::vector<std::vector<int>> parts;
    int counter = 0;
    struct Frame {
        int card;
        size_t edge;
    };
    std::vector<Frame> calls;
    for (int root = 0; root < n; ++root) {
        if (index[root] >= 0) {
            continue;
        }
        calls.push_back({root, 0});
        index[root] = low[root] = counter++;
        stack.push_back(root);
        onStack[root] = true;
        while (!calls.empty()) {
            Frame& f = calls.back();
            if (f.edge < next[f.card].size()) {
                const int t = next[f.card][f.edge++];
                if (index[t] < 0) {
                    index[t] = low[t] = counter++;
                    stack.push_back(t);
                    onStack[t] = true;
                    calls.push_back({t, 0});
                } else if (onStack[t]) {
                    low[f.card] = std::min(low[f.card], index[t]);
                }
                continue;
            }
            const int c = f.card;
            calls.pop_back();
            if (!calls.empty()) {
                low[calls.back().card] = std::min(low[calls.back().card], low[c]);
            }
            if (low[c] == index[c]) {
                std::vector<int> part;
                int m;
                do {
                    m = stack.back();
                    stack.pop_back();
                    onStack[m] = false;
                    part.push_back(m);
                } while (m != c);
                parts.push_back(std::move(part));
            }
        }
    }
    std::reverse(parts.begin(), parts.end()); // Tarjan finds a part after all the parts it leads to
    return parts;
}

} // namespace

std::vector<Move> MovesFrom(const model::Project& project, int card, const ScoreRange& entry) {
    std::vector<Move> moves;
    if (entry.Empty()) {
        return moves;
    }
    auto add = [&](int to, int link, bool then, const ScoreRange& scores) {
        if (!InRange(project, to) || scores.Empty()) {
            return;
        }
        // The first card's opening action sets the score to 0 whenever the movie arrives from elsewhere.
        moves.push_back({to, link, then, to == 0 && card != 0 ? ScoreRange::Exactly(0) : scores});
    };
    const auto& links = project.cards[card]->m_pLinks->m_pLinkList;
    for (int l = 0; l < static_cast<int>(links.size()); ++l) {
        const model::CLinkInfo& link = *links[l];
        const ScoreRange after = entry.Plus(link.m_nScore);
        if (link.m_strCompare.empty()) {
            add(link.m_nGoto, l, false, after);
            continue;
        }
        if (const auto op = ParseCompare(link.m_strCompare)) {
            add(link.m_nThenGoto, l, true, after.Holding(*op, link.m_nCompareValue));
            add(link.m_nGoto, l, false, after.Failing(*op, link.m_nCompareValue));
        } else {
            // An operator the editor never writes: either way may be taken.
            add(link.m_nThenGoto, l, true, after);
            add(link.m_nGoto, l, false, after);
        }
    }
    const int n = project.CardCount();
    if (project.settings.m_bSlideShow != 0 && n > 1) {
        add(card + 1 < n ? card + 1 : 0, -1, false, entry);
    }
    return moves;
}

std::vector<ScoreRange> EntryScores(const model::Project& project) {
    const int n = project.CardCount();
    std::vector<ScoreRange> entry(n);
    if (n == 0) {
        return entry;
    }
    entry[0] = ScoreRange::Exactly(0);
    const auto next = Successors(project);
    std::vector<int> partOf(n, -1);
    const auto parts = PartsInPathOrder(next);
    for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
        for (int c : parts[p]) {
            partOf[c] = p;
        }
    }
    std::vector<int> growth(n, 0);
    std::vector<bool> waiting(n, false);
    std::vector<int> work;
    for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
        // Every way into this part from earlier parts is known: settle the part's own loops first.
        for (int c : parts[p]) {
            if (!entry[c].Empty()) {
                work.push_back(c);
                waiting[c] = true;
            }
        }
        while (!work.empty()) {
            const int c = work.back();
            work.pop_back();
            waiting[c] = false;
            for (const Move& m : MovesFrom(project, c, entry[c])) {
                if (partOf[m.to] != p) {
                    continue;
                }
                ScoreRange joined = entry[m.to].Join(m.scores);
                if (joined == entry[m.to]) {
                    continue;
                }
                if (++growth[m.to] > kWidenAfter) {
                    joined = entry[m.to].WidenedTo(joined);
                }
                entry[m.to] = joined;
                if (!waiting[m.to]) {
                    waiting[m.to] = true;
                    work.push_back(m.to);
                }
            }
        }
        // Then hand the settled scores on to the later parts.
        for (int c : parts[p]) {
            for (const Move& m : MovesFrom(project, c, entry[c])) {
                if (partOf[m.to] != p) {
                    entry[m.to] = entry[m.to].Join(m.scores);
                }
            }
        }
    }
    return entry;
}

} // namespace check
