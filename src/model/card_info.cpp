#include "model/card_info.h"

#include <algorithm>

namespace model {

std::string DefaultCardTitle(int cardCount) {
    return "Card " + std::to_string(cardCount + 1) + ":";
}

std::string DefaultCardComment(const std::string& title) {
    return "Type your " + title + " here.\r\n\r\nA.\r\nB.\r\n";
}

std::string DefaultLinkTitle(int linkCount) {
    return "Link " + std::to_string(linkCount + 1);
}

CLinkInfo* CLinks::AddLink(std::string title, int32_t nGoto, int32_t score, int insertAt, std::string compare,
                           int32_t compareValue, int32_t thenGoto) {
    auto link = std::make_unique<CLinkInfo>(
        CLinkInfo{std::move(title), nGoto, score, std::move(compare), compareValue, thenGoto});
    CLinkInfo* raw = link.get();
    if (insertAt < 0 || insertAt >= Count()) {
        m_pLinkList.push_back(std::move(link));
    } else {
        m_pLinkList.insert(m_pLinkList.begin() + insertAt, std::move(link));
    }
    return raw;
}

std::unique_ptr<CLinks> CLinks::Clone() const {
    auto copy = std::make_unique<CLinks>();
    copy->m_pLinkList.reserve(m_pLinkList.size());
    for (const auto& link : m_pLinkList) {
        copy->m_pLinkList.push_back(std::make_unique<CLinkInfo>(*link));
    }
    return copy;
}

bool CLinks::operator==(const CLinks& other) const {
    return std::equal(m_pLinkList.begin(), m_pLinkList.end(), other.m_pLinkList.begin(),
                      other.m_pLinkList.end(), [](const auto& a, const auto& b) { return *a == *b; });
}

std::unique_ptr<CCardInfo> CCardInfo::MakeNew(int cardCount) {
    auto card = std::make_unique<CCardInfo>();
    card->m_nCardNo = cardCount;
    card->m_strTitle = DefaultCardTitle(cardCount);
    card->m_strComment = DefaultCardComment(card->m_strTitle);
    return card;
}

std::unique_ptr<CCardInfo> CCardInfo::Clone() const {
    auto copy = std::make_unique<CCardInfo>();
    copy->m_nCardNo = m_nCardNo;
    copy->m_strTitle = m_strTitle;
    copy->m_strTitleColor = m_strTitleColor;
    copy->m_strComment = m_strComment;
    copy->m_strCommentColor = m_strCommentColor;
    copy->m_strBackground = m_strBackground;
    copy->m_nBgAlign = m_nBgAlign;
    copy->m_bMailAlert = m_bMailAlert;
    copy->m_bProjectBg = m_bProjectBg;
    copy->m_pLinks = m_pLinks->Clone();
    return copy;
}

bool CCardInfo::operator==(const CCardInfo& o) const {
    return m_nCardNo == o.m_nCardNo && m_strTitle == o.m_strTitle && m_strTitleColor == o.m_strTitleColor &&
           m_strComment == o.m_strComment && m_strCommentColor == o.m_strCommentColor &&
           m_strBackground == o.m_strBackground && m_nBgAlign == o.m_nBgAlign &&
           m_bMailAlert == o.m_bMailAlert && m_bProjectBg == o.m_bProjectBg && *m_pLinks == *o.m_pLinks;
}

} // namespace model
