// Files the reader refuses: each case of the failure list, every truncation, and malformed references.
#include "archive_bytes.h"
#include "model/archive.h"

#include <gtest/gtest.h>

namespace model {
namespace {

using test::Bytes;

// A valid file of one card with no links, built from parts a case may replace.
struct Parts {
    Bytes list = Bytes().Class("CObList", 0);
    Bytes card = Bytes().Class("CCardInfo", 1);
    Bytes links = Bytes().Class("CLinks", 1);
    Bytes linkList = Bytes().U16(0x8001).U16(0);

    std::vector<uint8_t> File() const {
        Bytes b;
        b.U32(1).Append(list).U16(1).Append(card).Append(test::CardFields()).Append(links).Append(linkList);
        return b.Append(test::SettingsFields()).v;
    }
};

void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_THROW(ReadProject(bytes), ArchiveError);
}

TEST(ArchiveRefusal, TheMessage) {
    EXPECT_STREQ(kOldVersionMessage, "Can not load this saved file because of old version.");
}

TEST(ArchiveRefusal, BaseFileIsValid) {
    const Project p = ReadProject(Parts{}.File());
    ASSERT_EQ(p.CardCount(), 1);
    EXPECT_EQ(p.cards[0]->m_strTitle, "T");
}

TEST(ArchiveRefusal, EveryTruncation) {
    for (const auto& full : {Parts{}.File(), WriteProject(MakeDefaultProject())}) {
        for (size_t n = 0; n < full.size(); ++n) {
            const std::vector<uint8_t> cut(full.begin(), full.begin() + n);
            ASSERT_THROW(ReadProject(cut), ArchiveError) << "cut at " << n;
        }
    }
}

TEST(ArchiveRefusal, UnknownOrOverlongClassName) {
    Parts p;
    p.card = Bytes().Class("CCardInfoX", 1);
    ExpectRefused(p.File(), "unknown class");
    p.card = Bytes().Class("ccardinfo", 1);
    ExpectRefused(p.File(), "class names are case-sensitive");
    p.card = Bytes().Class("C" + std::string(63, 'x'), 1);
    ExpectRefused(p.File(), "name of 64 bytes");
    p = Parts{};
    p.list = Bytes().Class("CPtrList", 0);
    ExpectRefused(p.File(), "another list class");
}

TEST(ArchiveRefusal, SchemaOtherThanTheClasses) {
    const std::pair<const char*, uint16_t> cases[] = {{"CCardInfo", 0}, {"CCardInfo", 2}, {"CObList", 1},
                                                      {"CLinks", 0},    {"CLinkInfo", 0}, {"CLinkInfo", 2}};
    for (const auto& [name, schema] : cases) {
        Parts p;
        const std::string n = name;
        if (n == "CCardInfo") {
            p.card = Bytes().Class(n, schema);
        } else if (n == "CObList") {
            p.list = Bytes().Class(n, schema);
        } else if (n == "CLinks") {
            p.links = Bytes().Class(n, schema);
        } else {
            p.linkList = Bytes().U16(0x8001).U16(1).Class(n, schema).Append(test::LinkFields());
        }
        ExpectRefused(p.File(), n + " schema " + std::to_string(schema));
    }
}

TEST(ArchiveRefusal, NumbersNotInTheTable) {
    Parts p;
    p.card = Bytes().U16(0x8009);
    ExpectRefused(p.File(), "class number not yet given");
    p.card = Bytes().U16(0x8002);
    ExpectRefused(p.File(), "class tag naming an object");
    p.card = Bytes().U16(0x0009);
    ExpectRefused(p.File(), "object number not yet given");
    p.card = Bytes().U16(0x0001);
    ExpectRefused(p.File(), "object reference naming a class");
    p.card = Bytes().U16(0x7FFF).U32(0x80000063);
    ExpectRefused(p.File(), "long class tag not in the table");
    p.card = Bytes().U16(0x7FFF).U32(0x00000063);
    ExpectRefused(p.File(), "long object number not in the table");
}

TEST(ArchiveRefusal, WrongClassWhereACLinksIsExpected) {
    Parts p;
    p.links = Bytes().U16(0x8003);
    ExpectRefused(p.File(), "a card as m_pLinks");
    p.links = Bytes().U16(0x8001);
    ExpectRefused(p.File(), "a list as m_pLinks");
    p.links = Bytes().U16(0x0004);
    ExpectRefused(p.File(), "the card itself as m_pLinks");
}

TEST(ArchiveRefusal, ElementsOfTheWrongClass) {
    Parts p;
    p.card = Bytes().Class("CLinks", 1).U16(0x8001).U16(0);
    ExpectRefused(p.File(), "a CLinks in the card list");
    p = Parts{};
    p.card = Bytes().Class("CLinkInfo", 1).Append(test::LinkFields()).Class("CCardInfo", 1);
    ExpectRefused(p.File(), "a link in the card list");
    p = Parts{};
    p.linkList =
        Bytes().U16(0x8001).U16(1).U16(0x8003).Append(test::CardFields()).U16(0x8005).U16(0x8001).U16(0);
    ExpectRefused(p.File(), "a card in a link list");
    p.linkList = Bytes().U16(0x8001).U16(1).U16(0x0004);
    ExpectRefused(p.File(), "a reference to a card in a link list");
    p.linkList = Bytes().U16(0x8003);
    ExpectRefused(p.File(), "a card where the link list belongs");
    p.linkList = Bytes().U16(0x0002);
    ExpectRefused(p.File(), "the card list (still being read) as a link list");
    p = Parts{};
    p.list = Bytes().Class("CCardInfo", 1);
    ExpectRefused(p.File(), "a card where the card list belongs");
}

TEST(ArchiveRefusal, MissingObjects) {
    Parts p;
    p.links = Bytes().U16(0x0000);
    ExpectRefused(p.File(), "missing CLinks");
    p = Parts{};
    p.linkList = Bytes().U16(0x0000);
    ExpectRefused(p.File(), "missing link list");
    p = Parts{};
    p.card = Bytes().U16(0x0000);
    ExpectRefused(p.File(), "null card");
    Bytes nullList;
    nullList.U32(1).U16(0).Append(test::SettingsFields());
    ExpectRefused(nullList.v, "null card list");
}

TEST(ArchiveRefusal, ReferencesToObjectsStillBeingRead) {
    Parts p;
    p.card = Bytes().U16(0x0002);
    ExpectRefused(p.File(), "the card list inside itself");
    p.linkList = Bytes().U16(0x8001).U16(1).U16(0x0007);
    p.card = Bytes().Class("CCardInfo", 1);
    ExpectRefused(p.File(), "a link list inside itself");
}

TEST(ArchiveRefusal, MalformedText) {
    Parts p;
    p.card = Bytes().Class("CCardInfo", 1);
    Bytes b;
    b.U32(1).Class("CObList", 0).U16(1).Class("CCardInfo", 1).I32(0);
    Bytes twice = b;
    twice.U8(0xFF).U16(0xFFFE).U8(0xFF).U16(0xFFFE).U8(0);
    ExpectRefused(twice.v, "the 16-bit mark twice");
    Bytes odd = b;
    odd.U8(0xFF).U16(0xFFFE).U8(3).U16('a').U8('b');
    ExpectRefused(odd.v, "16-bit text cut short");
    Bytes huge = b;
    huge.U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0).Raw("abc");
    ExpectRefused(huge.v, "length beyond the file");
}

TEST(ArchiveRefusal, RepeatedReferencesCannotExpandWithoutLimit) {
    // A link list of 10000 links referred to by 200 CLinks copies stays small; the copies of copies
    // that would reach billions of links are refused.
    Bytes b;
    b.U32(1).Class("CObList", 0).U16(0xFFFF).U32(60000).Class("CCardInfo", 1).Append(test::CardFields());
    b.Class("CLinks", 1).U16(0x8001).U16(0xFFFF).U32(2000).Class("CLinkInfo", 1).Append(test::LinkFields());
    for (int i = 1; i < 2000; ++i) {
        b.U16(0x0009);
    }
    for (int i = 1; i < 60000; ++i) {
        b.U16(0x0004);
    }
    b.Append(test::SettingsFields());
    ExpectRefused(b.v, "120 million links from 120 kB");
}

} // namespace
} // namespace model
