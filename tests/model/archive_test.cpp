// The archive writer and reader: exact bytes where they are fixed, and write-read-write round trips over
// every length-prefix form, both text forms, the long count and tag forms and repeated references.
#include "archive_bytes.h"
#include "model/archive.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace model {
namespace {

using test::Bytes;

// Offset of the first card's title length prefix: marker, CObList class, count, CCardInfo class,
// m_nCardNo.
constexpr size_t kFirstTitleOffset = 4 + 13 + 2 + 15 + 4;

// Writes, reads and writes again; both writes must give the same bytes and the read the same project.
std::vector<uint8_t> ExpectRoundTrip(const Project& p) {
    const std::vector<uint8_t> first = WriteProject(p);
    const Project back = ReadProject(first);
    EXPECT_TRUE(back == p);
    EXPECT_EQ(WriteProject(back), first);
    return first;
}

Project OneCard(const std::string& title) {
    Project p = MakeDefaultProject();
    p.cards.resize(1);
    p.cards[0]->m_pLinks->m_pLinkList.clear();
    p.cards[0]->m_strTitle = title;
    return p;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, size_t at, size_t n) {
    return {v.begin() + at, v.begin() + at + n};
}

TEST(ArchiveWrite, DefaultProjectStartsWithTheListAndCardClassRecords) {
    const std::vector<uint8_t> bytes = WriteProject(MakeDefaultProject());
    Bytes expected;
    expected.U32(1).Class("CObList", 0).U16(3).Class("CCardInfo", 1);
    expected.I32(0).Str("Card 1:").Str("#000000");
    ASSERT_GE(bytes.size(), expected.v.size());
    EXPECT_EQ(Slice(bytes, 0, expected.v.size()), expected.v);
}

TEST(ArchiveWrite, ClassAndObjectNumbersFollowTheWritingOrder) {
    // Card 1 has no link, card 2 has two: CLinkInfo is introduced late and takes number 11
    // (list 2, card 4, CLinks 6, list 7, card 8, CLinks 9, list 10), then object 12, then tag 0x800B.
    Project p = OneCard("A");
    p.cards.push_back(CCardInfo::MakeNew(1));
    p.cards[1]->m_strTitle = "B";
    p.cards[1]->m_strComment = "C";
    p.cards[1]->m_pLinks->AddLink("L", 1, 2, -1, ">", 3, 0);
    p.cards[1]->m_pLinks->AddLink("L", 1, 2, -1, ">", 3, 0);
    p.cards[0]->m_strComment = "C";
    p.settings =
        ProjectSettings{"A", "e@x", "#FFFFFF", 4, "#2781c4", "#000000", "", 1, 1, 640, 480, "", 0, "Sans"};
    Bytes e;
    e.U32(1).Class("CObList", 0).U16(2);
    e.Class("CCardInfo", 1).I32(0).Str("A").Str("#000000").Str("C").Str("#000000").Str("#FFFFFF").I32(4);
    e.I32(1).I32(0).Class("CLinks", 1).U16(0x8001).U16(0);
    e.U16(0x8003).I32(1).Str("B").Str("#000000").Str("C").Str("#000000").Str("#FFFFFF").I32(4).I32(1).I32(0);
    e.U16(0x8005).U16(0x8001).U16(2);
    e.Class("CLinkInfo", 1).Append(test::LinkFields()).U16(0x800B).Append(test::LinkFields());
    e.Append(test::SettingsFields());
    EXPECT_EQ(ExpectRoundTrip(p), e.v);
}

TEST(ArchiveRoundTrip, ZeroToTenLinksAndEmptyTitles) {
    Project p = MakeDefaultProject();
    p.cards.clear();
    for (int n = 0; n <= 10; ++n) {
        auto card = CCardInfo::MakeNew(n);
        for (int i = 0; i < n; ++i) {
            card->m_pLinks->AddLink(i % 2 ? "" : "Link", i, -i, -1, i % 3 ? ">=" : "", 1000 * i, n);
        }
        p.cards.push_back(std::move(card));
    }
    p.cards[3]->m_strTitle = "";
    p.cards[4]->m_strComment = "";
    p.cards[5]->m_strTitleColor = "";
    ExpectRoundTrip(p);
}

TEST(ArchiveRoundTrip, EveryLengthPrefixForm) {
    struct Case {
        size_t length;
        std::vector<uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::vector<uint8_t> bytes = ExpectRoundTrip(OneCard(std::string(c.length, 'x')));
        EXPECT_EQ(Slice(bytes, kFirstTitleOffset, c.prefix.size()), c.prefix);
        if (c.length > 0) {
            EXPECT_EQ(bytes[kFirstTitleOffset + c.prefix.size()], 'x');
        }
    }
}

TEST(ArchiveRoundTrip, TextOutsideWindows1252UsesThe16BitForm) {
    // "Grüße ☃ 𝄞": ü and ß fit Windows-1252, the snowman and the clef do not; the clef is a surrogate pair.
    const std::string title = "Gr\xC3\xBC\xC3\x9F"
                              "e \xE2\x98\x83 \xF0\x9D\x84\x9E";
    const std::vector<uint8_t> bytes = ExpectRoundTrip(OneCard(title));
    Bytes e;
    e.U8(0xFF).U16(0xFFFE).U8(10);
    for (uint16_t u : {0x47, 0x72, 0xFC, 0xDF, 0x65, 0x20, 0x2603, 0x20, 0xD834, 0xDD1E}) {
        e.U16(u);
    }
    EXPECT_EQ(Slice(bytes, kFirstTitleOffset, e.v.size()), e.v);

    // Text that fits is written in the 8-bit form: "€" is byte 0x80.
    const std::vector<uint8_t> euro = ExpectRoundTrip(OneCard("\xE2\x82\xAC"));
    EXPECT_EQ(Slice(euro, kFirstTitleOffset, 2), (std::vector<uint8_t>{1, 0x80}));
}

TEST(ArchiveRoundTrip, LongSixteenBitTextTakesTheLongPrefix) {
    std::string title;
    for (int i = 0; i < 70000; ++i) {
        title += "\xE2\x98\x83"; // U+2603
    }
    const std::vector<uint8_t> bytes = ExpectRoundTrip(OneCard(title));
    Bytes e;
    e.U8(0xFF).U16(0xFFFE).U8(0xFF).U16(0xFFFF).U32(70000).U16(0x2603);
    EXPECT_EQ(Slice(bytes, kFirstTitleOffset, e.v.size()), e.v);
}

TEST(ArchiveRoundTrip, AllByteValuesOfAn8BitStringSurvive) {
    // A file as another writer made it: a title holding every byte value 0..255.
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::vector<uint8_t> bytes = WriteProject(OneCard(std::string(256, 'x')));
    std::copy(all.begin(), all.end(), bytes.begin() + kFirstTitleOffset + 3);
    const Project p = ReadProject(bytes);
    EXPECT_EQ(p.cards[0]->m_strTitle.substr(0x80 + 3 + 2, 3),
              "\xE2\x80\x9A"); // after € (3 bytes) and U+0081 (2 bytes), byte 0x82 is U+201A
    EXPECT_EQ(WriteProject(p), bytes);
}

TEST(ArchiveRoundTrip, EverySettingAtANonDefaultValue) {
    Project p = MakeDefaultProject();
    p.settings = ProjectSettings{"Author \xC3\xA9",
                                 "me@example.org",
                                 "Background\\Flower.jpg",
                                 11,
                                 "Button\\Blue.png",
                                 "#FF00FF",
                                 "Music\\Song.mp3",
                                 0,
                                 0,
                                 800,
                                 600,
                                 "1.5",
                                 1,
                                 "Serif"};
    for (auto& card : p.cards) {
        card->m_bMailAlert = 1;
        card->m_bProjectBg = 0;
        card->m_nBgAlign = -7;
        card->m_nCardNo = 1000000;
    }
    const std::vector<uint8_t> bytes = ExpectRoundTrip(p);
    EXPECT_EQ(ReadProject(bytes).settings, p.settings);
}

TEST(ArchiveRead, TheMarkerIsIgnored) {
    const Project p = MakeDefaultProject();
    std::vector<uint8_t> bytes = WriteProject(p);
    bytes[0] = 0xDE, bytes[1] = 0xAD, bytes[2] = 0xBE, bytes[3] = 0xEF;
    const Project back = ReadProject(bytes);
    EXPECT_TRUE(back == p);
    bytes[0] = 1, bytes[1] = 0, bytes[2] = 0, bytes[3] = 0;
    EXPECT_EQ(WriteProject(back), bytes);
}

TEST(ArchiveRoundTrip, LongCountForm) {
    for (size_t n : {size_t{65534}, size_t{65535}}) {
        Project p = OneCard("T");
        for (size_t i = 0; i < n; ++i) {
            p.cards[0]->m_pLinks->AddLink("", 0, 0, -1, "", 0, 0);
        }
        const std::vector<uint8_t> bytes = ExpectRoundTrip(p);
        // The link list's count follows the card, the CLinks class record and the list's tag.
        const std::vector<uint8_t> head = WriteProject(OneCard("T"));
        const size_t at = head.size() - (WriteProject(Project{}).size() - 19) - 2;
        const std::vector<uint8_t> expected = n < 0xFFFF ? std::vector<uint8_t>{0xFE, 0xFF}
                                                         : std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
        EXPECT_EQ(Slice(bytes, at, expected.size()), expected);
    }
}

// 10920 cards without links push CLinkInfo's class number to 0x8000, so later links need the long
// class tag 0x7FFF, u32 0x80008000.
Project ManyCardsThenLinks() {
    Project p;
    for (int i = 0; i < 10920; ++i) {
        auto card = std::make_unique<CCardInfo>();
        card->m_nCardNo = i;
        p.cards.push_back(std::move(card));
    }
    auto card = std::make_unique<CCardInfo>();
    card->m_pLinks->AddLink("first", 1, 0, -1, "", 0, 0);
    card->m_pLinks->AddLink("second", 2, 0, -1, "", 0, 0);
    p.cards.push_back(std::move(card));
    return p;
}

TEST(ArchiveRoundTrip, LongClassTagForm) {
    const std::vector<uint8_t> bytes = ExpectRoundTrip(ManyCardsThenLinks());
    const std::vector<uint8_t> longTag = {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80};
    Bytes e;
    e.Class("CLinkInfo", 1).Str("first");
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), e.v.begin(), e.v.end()), bytes.end());
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), longTag.begin(), longTag.end()), bytes.end());
}

TEST(ArchiveRead, RepeatedReferencesAreCopied) {
    // The card list holds card object 4 a second time, by its number.
    Bytes b;
    b.U32(1).Class("CObList", 0).U16(2).Class("CCardInfo", 1).Append(test::CardFields("Twice"));
    b.Class("CLinks", 1).U16(0x8001).U16(1).Class("CLinkInfo", 1).Append(test::LinkFields());
    b.U16(0x0004).Append(test::SettingsFields());
    const Project p = ReadProject(b.v);
    ASSERT_EQ(p.CardCount(), 2);
    EXPECT_TRUE(*p.cards[0] == *p.cards[1]);
    EXPECT_NE(p.cards[0].get(), p.cards[1].get());
    EXPECT_EQ(p.cards[1]->m_strTitle, "Twice");
    ASSERT_EQ(p.cards[1]->m_pLinks->Count(), 1);

    // A second card sharing the first card's CLinks (object 6) and, in a third card, its link list (7)
    // and a link (9) in the long object-number form.
    Bytes c;
    c.U32(1).Class("CObList", 0).U16(3).Class("CCardInfo", 1).Append(test::CardFields("A"));
    c.Class("CLinks", 1).U16(0x8001).U16(1).Class("CLinkInfo", 1).Append(test::LinkFields("shared"));
    c.U16(0x8003).Append(test::CardFields("B")).U16(0x0006);
    c.U16(0x8003).Append(test::CardFields("C")).U16(0x8005).U16(0x0007);
    c.Append(test::SettingsFields());
    const Project q = ReadProject(c.v);
    ASSERT_EQ(q.CardCount(), 3);
    for (const auto& card : q.cards) {
        ASSERT_EQ(card->m_pLinks->Count(), 1);
        EXPECT_EQ(card->m_pLinks->m_pLinkList[0]->m_strTitle, "shared");
    }

    Bytes d;
    d.U32(1).Class("CObList", 0).U16(1).Class("CCardInfo", 1).Append(test::CardFields("A"));
    d.Class("CLinks", 1).U16(0x8001).U16(2).Class("CLinkInfo", 1).Append(test::LinkFields("one"));
    d.U16(0x7FFF).U32(9).Append(test::SettingsFields());
    const Project r = ReadProject(d.v);
    ASSERT_EQ(r.cards[0]->m_pLinks->Count(), 2);
    EXPECT_EQ(r.cards[0]->m_pLinks->m_pLinkList[1]->m_strTitle, "one");
}

TEST(ArchiveRead, SixteenBitTextWithTheLongInnerPrefix) {
    // The 16-bit mark followed by the three-byte prefix.
    Bytes b;
    b.U32(1).Class("CObList", 0).U16(1).Class("CCardInfo", 1).I32(0);
    b.U8(0xFF).U16(0xFFFE).U8(0xFF).U16(2).U16('O').U16('K');
    b.Str("#000000").Str("C").Str("#000000").Str("#FFFFFF").I32(4).I32(1).I32(0);
    b.Class("CLinks", 1).U16(0x8001).U16(0).Append(test::SettingsFields());
    EXPECT_EQ(ReadProject(b.v).cards[0]->m_strTitle, "OK");
}

TEST(ArchiveRead, TrailingBytesAreIgnored) {
    std::vector<uint8_t> bytes = WriteProject(MakeDefaultProject());
    bytes.push_back(0x42);
    EXPECT_TRUE(ReadProject(bytes) == MakeDefaultProject());
}

} // namespace
} // namespace model
