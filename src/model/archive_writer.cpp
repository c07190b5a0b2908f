// Writes a project in the archive encoding. Every object is new to the file, so only class tags and
// object numbers of the writing order are involved; the numbers are shared by classes and objects.
#include "model/archive.h"
#include "model/archive_format.h"
#include "model/text_codec.h"

#include <map>

namespace model {

namespace {

using namespace archive;

class Writer {
public:
    std::vector<uint8_t> bytes;

    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }

    void Length(size_t n) {
        if (n < 0xFF) {
            U8(static_cast<uint8_t>(n));
        } else if (n < 0xFFFE) {
            U8(0xFF);
            U16(static_cast<uint16_t>(n));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(static_cast<uint32_t>(n));
        }
    }

    // Windows-1252 when every character fits, else the 16-bit form.
    void String(const std::string& utf8) {
        if (auto narrow = Utf8ToCp1252(utf8)) {
            Length(narrow->size());
            bytes.insert(bytes.end(), narrow->begin(), narrow->end());
            return;
        }
        const std::vector<uint16_t> units = Utf8ToUtf16(utf8);
        U8(0xFF);
        U16(kUnicodeMark);
        Length(units.size());
        for (uint16_t u : units) {
            U16(u);
        }
    }

    void Count(size_t n) {
        if (n < 0xFFFF) {
            U16(static_cast<uint16_t>(n));
        } else {
            U16(0xFFFF);
            U32(static_cast<uint32_t>(n));
        }
    }

    // Starts a new object of a class: the class record or tag, then the object takes a number.
    void BeginObject(ClassKind kind) {
        const ClassRecord& record = kClasses[static_cast<int>(kind)];
        if (auto it = m_classNumbers.find(kind); it != m_classNumbers.end()) {
            const uint32_t n = it->second;
            if (n < kBigTag) {
                U16(static_cast<uint16_t>(kClassTagBit | n));
            } else {
                U16(kBigTag);
                U32(kBigClassTagBit | n);
            }
        } else {
            U16(kNewClassTag);
            U16(record.schema);
            U16(static_cast<uint16_t>(record.name.size()));
            bytes.insert(bytes.end(), record.name.begin(), record.name.end());
            m_classNumbers[kind] = m_next++;
        }
        ++m_next; // the object's own number
    }

private:
    std::map<ClassKind, uint32_t> m_classNumbers;
    uint32_t m_next = 1;
};

void WriteLink(Writer& w, const CLinkInfo& link) {
    w.BeginObject(ClassKind::LinkInfo);
    w.String(link.m_strTitle);
    w.I32(link.m_nGoto);
    w.I32(link.m_nScore);
    w.String(link.m_strCompare);
    w.I32(link.m_nCompareValue);
    w.I32(link.m_nThenGoto);
}

void WriteCard(Writer& w, const CCardInfo& card) {
    w.BeginObject(ClassKind::CardInfo);
    w.I32(card.m_nCardNo);
    w.String(card.m_strTitle);
    w.String(card.m_strTitleColor);
    w.String(card.m_strComment);
    w.String(card.m_strCommentColor);
    w.String(card.m_strBackground);
    w.I32(card.m_nBgAlign);
    w.I32(card.m_bProjectBg); // stored before the mail flag
    w.I32(card.m_bMailAlert);
    w.BeginObject(ClassKind::Links);
    const auto& list = card.m_pLinks->m_pLinkList;
    w.BeginObject(ClassKind::ObList);
    w.Count(list.size());
    for (const auto& link : list) {
        WriteLink(w, *link);
    }
}

} // namespace

std::vector<uint8_t> WriteProject(const Project& project) {
    Writer w;
    w.bytes.reserve(256 + project.cards.size() * 512);
    w.I32(kMarker);
    w.BeginObject(ClassKind::ObList);
    w.Count(project.cards.size());
    for (const auto& card : project.cards) {
        WriteCard(w, *card);
    }
    const ProjectSettings& s = project.settings;
    w.String(s.m_strAuthor);
    w.String(s.m_strEmail);
    w.String(s.m_strBackground);
    w.I32(s.m_nBgAlign);
    w.String(s.m_strButton);
    w.String(s.m_strButtonTextColor);
    w.String(s.m_strMusic);
    w.I32(s.m_bPromoteLast);
    w.I32(s.m_bPromoteEach);
    w.I32(s.m_nGiftWidth);
    w.I32(s.m_nGiftHeight);
    w.String(s.m_strSlideSeconds);
    w.I32(s.m_bSlideShow);
    w.String(s.m_strFont);
    return std::move(w.bytes);
}

} // namespace model
