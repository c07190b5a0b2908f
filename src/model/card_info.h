// The three records of a project: a card (CCardInfo), the holder of its links (CLinks) and one link
// (CLinkInfo). Text is UTF-8. A card owns its CLinks, which owns its links; links are held through
// unique_ptr so that pointers to them (the editor's current link) stay valid while others are added.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace model {

// Limits of a project; adding beyond them is refused (see Project::AddCard, Project::AddLink).
inline constexpr int kMaxCards = 200;
inline constexpr int kMaxLinks = 10;

// One link: a button on its card.
struct CLinkInfo {
    std::string m_strTitle;      // button caption
    int32_t m_nGoto = 0;         // 0-based index of the card to jump to
    int32_t m_nScore = 0;        // added to the running score when pressed
    std::string m_strCompare;    // ">", ">=", "=", "<=", "<" or empty (no condition)
    int32_t m_nCompareValue = 0; // the score is compared with this
    int32_t m_nThenGoto = 0;     // 0-based index of the card to jump to when the comparison holds

    bool operator==(const CLinkInfo&) const = default;
};

// The links of one card, in order.
class CLinks {
public:
    std::vector<std::unique_ptr<CLinkInfo>> m_pLinkList;

    // Creates a link from the values and inserts it before the link at `insertAt`, or appends it when
    // `insertAt` is -1 (or past the end). Returns the new link.
    CLinkInfo* AddLink(std::string title, int32_t nGoto, int32_t score, int insertAt, std::string compare,
                       int32_t compareValue, int32_t thenGoto);

    int Count() const { return static_cast<int>(m_pLinkList.size()); }
    std::unique_ptr<CLinks> Clone() const;
    bool operator==(const CLinks& other) const;
};

// One card.
struct CCardInfo {
    int32_t m_nCardNo = 0;                     // creation number, never renumbered
    std::string m_strTitle;                    // may be empty
    std::string m_strTitleColor = "#000000";   // #RRGGBB
    std::string m_strComment;                  // body text, CR LF line ends
    std::string m_strCommentColor = "#000000"; // #RRGGBB
    std::string m_strBackground = "#FFFFFF";   // a colour or "Background\" + file name
    int32_t m_nBgAlign = 4;                    // placement code 0..11
    int32_t m_bMailAlert = 0;                  // 1: e-mail alert when a visitor enters the card
    int32_t m_bProjectBg = 1;                  // 1: follows the project background
    std::unique_ptr<CLinks> m_pLinks = std::make_unique<CLinks>(); // never null

    // A card as AddCard makes it when the project has `cardCount` cards: number, title and comment.
    static std::unique_ptr<CCardInfo> MakeNew(int cardCount);

    std::unique_ptr<CCardInfo> Clone() const;
    bool operator==(const CCardInfo& other) const;
};

// Default texts of new records.
std::string DefaultCardTitle(int cardCount);              // "Card %d:" with cardCount + 1
std::string DefaultCardComment(const std::string& title); // "Type your " + title + " here.\r\n..."
std::string DefaultLinkTitle(int linkCount);              // "Link %d" with linkCount + 1

} // namespace model
