#include "model/project.h"

#include <algorithm>

namespace model {

namespace {

void Renumber(Project& project, auto fix) {
    for (auto& card : project.cards) {
        for (auto& link : card->m_pLinks->m_pLinkList) {
            link->m_nGoto = fix(link->m_nGoto);
            link->m_nThenGoto = fix(link->m_nThenGoto);
        }
    }
}

} // namespace

bool Project::operator==(const Project& other) const {
    return settings == other.settings &&
           std::equal(cards.begin(), cards.end(), other.cards.begin(), other.cards.end(),
                      [](const auto& a, const auto& b) { return *a == *b; });
}

Project Project::Clone() const {
    Project copy;
    copy.settings = settings;
    copy.cards.reserve(cards.size());
    for (const auto& card : cards) {
        copy.cards.push_back(card->Clone());
    }
    return copy;
}

void Project::RenumberForInsert(int i) {
    Renumber(*this, [i](int32_t ref) { return ref >= i ? ref + 1 : ref; });
}

void Project::RenumberForRemove(int d) {
    Renumber(*this, [d](int32_t ref) { return ref == d ? 0 : ref > d ? ref - 1 : ref; });
}

EditResult Project::AddCard(int code, const Selection& sel) {
    const int c = CardCount();
    if (c >= kMaxCards) {
        return {false, kHintMaxCards, sel};
    }
    // Current card position p counted from 1; 0 when nothing is selected.
    const int p = sel.card >= 0 && sel.card < c ? sel.card + 1 : 0;
    int at = c; // 0-based index of the new card
    if (code == kPosTop) {
        at = 0;
    } else if (code == kPosBefore && p > 0) {
        at = p - 1;
    } else if (code == kPosAfter && p > 0) {
        at = p;
    }
    cards.insert(cards.begin() + at, CCardInfo::MakeNew(c));
    if (at + 1 < CardCount()) {
        RenumberForInsert(at);
    }
    return {true, {}, Selection{at, -1}};
}

EditResult Project::AddLink(int code, const Selection& sel) {
    if (sel.card < 0 || sel.card >= CardCount()) {
        return {false, {}, sel};
    }
    CLinks& links = *cards[sel.card]->m_pLinks;
    const int a = links.Count();
    if (a >= kMaxLinks) {
        return {false, kHintMaxLinks, sel};
    }
    int at = -1; // list index, -1 appends
    if (sel.link >= 0 && sel.link < a) {
        const int b = sel.link + 1;
        if (code == kPosTop || (code == kPosBefore && b == 1)) {
            at = 0;
        } else if (code == kPosBefore) {
            at = b - 1;
        } else if (code == kPosAfter && b < a) {
            at = b;
        }
    }
    links.AddLink(DefaultLinkTitle(a), sel.card + 1, 0, at, "", 0, 0);
    return {true, {}, Selection{sel.card, at < 0 ? a : at}};
}

EditResult Project::RemoveCard(const Selection& sel) {
    if (sel.IsLink()) {
        return {false, {}, sel};
    }
    if (sel.card < 0 || sel.card >= CardCount()) {
        return {false, kHintSelectCard, sel};
    }
    const int d = sel.card;
    cards.erase(cards.begin() + d);
    RenumberForRemove(d);
    // The tree selects the card that took the removed one's place, else the one before it.
    const int next = cards.empty() ? -1 : std::min(d, CardCount() - 1);
    return {true, {}, Selection{next, -1}};
}

EditResult Project::MoveCard(const Selection& sel, int delta) {
    const int from = sel.card;
    const int to = from + delta;
    if (!sel.IsCard() || from >= CardCount() || (delta != -1 && delta != 1) || to < 0 || to >= CardCount()) {
        return {false, {}, sel};
    }
    std::swap(cards[from], cards[to]);
    // Swapping two neighbours: references to one now name the other.
    Renumber(*this, [from, to](int32_t ref) { return ref == from ? to : ref == to ? from : ref; });
    return {true, {}, Selection{to, -1}};
}

EditResult Project::RemoveLink(const Selection& sel) {
    if (!sel.IsLink() || sel.card >= CardCount() || sel.link >= cards[sel.card]->m_pLinks->Count()) {
        return {false, kHintSelectLink, sel};
    }
    auto& list = cards[sel.card]->m_pLinks->m_pLinkList;
    list.erase(list.begin() + sel.link);
    // Next sibling, else the previous one, else the card.
    const int count = static_cast<int>(list.size());
    const int next = count == 0 ? -1 : std::min(sel.link, count - 1);
    return {true, {}, Selection{sel.card, next}};
}

void Project::Clear() {
    cards.clear();
    settings.ApplyClear();
}

void Project::BuildDefault() {
    Selection sel;
    sel = AddCard(kPosAfter, sel).selection;
    sel = AddLink(kPosAfter, sel).selection;
    sel = AddLink(kPosAfter, sel).selection;
    sel = AddCard(kPosAfter, sel).selection;
    sel = AddLink(kPosAfter, sel).selection;
    sel = AddLink(kPosAfter, sel).selection;
    AddCard(kPosAfter, sel);
}

void Project::New() {
    Clear();
    settings.ApplyAfterNew();
    BuildDefault();
}

Project MakeDefaultProject() {
    Project project;
    project.New();
    return project;
}

} // namespace model
