// The project document: the ordered list of cards it owns plus the project settings, and the structural
// edits that keep card references valid (insertion and removal renumber every link).
#pragma once

#include "model/card_info.h"
#include "model/project_settings.h"

#include <memory>
#include <string>
#include <vector>

namespace model {

// Insertion position codes of AddCard and AddLink, relative to the selection. Any other code acts as
// kPosBottom.
inline constexpr int kPosTop = 0;
inline constexpr int kPosBefore = 1;
inline constexpr int kPosAfter = 2;
inline constexpr int kPosBottom = 3;

// Hint texts of refused edits.
inline constexpr const char* kHintMaxCards =
    "Attention:\n    You have reached the maximum number of cards allowed.\n\nSuggestion:\n    1.You must "
    "delete a card before you can add any more.";
inline constexpr const char* kHintMaxLinks =
    "Attention:\n    You have reached the maximum number of links allowed.\n\nSuggestion:\n    1.You must "
    "delete a link before you can add any more.\n    2.Split links into another card.";
inline constexpr const char* kHintSelectCard = "Please select a card before deleting.";
inline constexpr const char* kHintSelectLink = "Please select a link to delete.";

// What the editor has selected: nothing (card -1), a card (link -1) or a link of a card. 0-based.
struct Selection {
    int card = -1;
    int link = -1;

    bool IsNothing() const { return card < 0; }
    bool IsCard() const { return card >= 0 && link < 0; }
    bool IsLink() const { return card >= 0 && link >= 0; }
    bool operator==(const Selection&) const = default;
};

// Outcome of an edit: whether the project changed, the hint to show when it was refused (empty
// otherwise) and the selection afterwards (the new item after an add).
struct EditResult {
    bool changed = false;
    std::string hint;
    Selection selection;
};

class Project {
public:
    std::vector<std::unique_ptr<CCardInfo>> cards; // in card order; owned
    ProjectSettings settings;

    int CardCount() const { return static_cast<int>(cards.size()); }
    bool operator==(const Project& other) const;
    Project Clone() const;

    // Adds a new card at `code` relative to `sel`; refused with kHintMaxCards at the card limit.
    EditResult AddCard(int code, const Selection& sel);
    // Adds a new link to the current card of `sel`; nothing without a current card; refused with
    // kHintMaxLinks at the link limit.
    EditResult AddLink(int code, const Selection& sel);
    // Removes the selected card: nothing when a link is selected, kHintSelectCard when nothing is.
    EditResult RemoveCard(const Selection& sel);
    // Removes the selected link: kHintSelectLink when the selection is not a link.
    EditResult RemoveLink(const Selection& sel);

    // Moves the selected card one place up (delta -1) or down (+1) and renumbers every goto and
    // then-goto so that each still names the same card (references past the last card stay as they
    // are). Refused without a change when a link is selected, nothing is, or the card is at that end.
    EditResult MoveCard(const Selection& sel, int delta);

    // Reference fix-ups for a card inserted at `i` (references >= i grow by one) and for the card
    // removed at `d` (references to d go to card 0, larger ones shrink by one).
    void RenumberForInsert(int i);
    void RenumberForRemove(int d);

    // Destroys all cards and resets the settings to their Clear values.
    void Clear();
    // Adds the default three cards (card 1 and 2 with two links each) through the edits above.
    void BuildDefault();
    // New at model level: Clear, settings to their after-New values (author and e-mail kept), then
    // BuildDefault.
    void New();
};

// The project New makes from a program start: default settings and the three default cards.
Project MakeDefaultProject();

} // namespace model
