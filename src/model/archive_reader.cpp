// Reads a project in the archive encoding. The reader keeps the table of numbers shared by classes and
// objects; a reference to an object already read is accepted and copied, since every record has one
// owner here.
#include "model/archive.h"
#include "model/archive_format.h"
#include "model/text_codec.h"

#include <algorithm>

namespace model {

namespace {

using namespace archive;

// What an object of the card graph is; a list's elements depend on where it stands.
enum class Role { CardList, Card, Links, LinkList, Link };

constexpr ClassKind ClassOf(Role role) {
    switch (role) {
    case Role::Card:
        return ClassKind::CardInfo;
    case Role::Links:
        return ClassKind::Links;
    case Role::Link:
        return ClassKind::LinkInfo;
    default:
        return ClassKind::ObList;
    }
}

constexpr const char* NameOf(Role role) {
    switch (role) {
    case Role::CardList:
        return "card list";
    case Role::Card:
        return "card";
    case Role::Links:
        return "CLinks";
    case Role::LinkList:
        return "link list";
    default:
        return "link";
    }
}

// Copies made for repeated references count against this, so a small file cannot expand without end.
constexpr size_t kMaxRecords = size_t{1} << 20;

using LinkList = std::vector<std::unique_ptr<CLinkInfo>>;
using CardList = std::vector<std::unique_ptr<CCardInfo>>;

// The C++ value an object of each role is read into.
template <Role R> struct ValueType;
template <> struct ValueType<Role::CardList> { using type = CardList; };
template <> struct ValueType<Role::Card> { using type = std::unique_ptr<CCardInfo>; };
template <> struct ValueType<Role::Links> { using type = std::unique_ptr<CLinks>; };
template <> struct ValueType<Role::LinkList> { using type = LinkList; };
template <> struct ValueType<Role::Link> { using type = std::unique_ptr<CLinkInfo>; };
template <Role R> using ValueOf = typename ValueType<R>::type;

struct Entry {
    bool isClass = false;
    ClassKind kind = ClassKind::ObList; // classes
    Role role = Role::Card;             // objects
    const void* object = nullptr;       // objects, once read completely
};

[[noreturn]] void Fail(const std::string& what) {
    throw ArchiveError(what);
}

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) { m_table.emplace_back(); }

    Project ReadAll() {
        Project project;
        I32(); // marker, not checked
        project.cards = ReadObject<Role::CardList>();
        ProjectSettings& s = project.settings;
        s.m_strAuthor = String();
        s.m_strEmail = String();
        s.m_strBackground = String();
        s.m_nBgAlign = I32();
        s.m_strButton = String();
        s.m_strButtonTextColor = String();
        s.m_strMusic = String();
        s.m_bPromoteLast = I32();
        s.m_bPromoteEach = I32();
        s.m_nGiftWidth = I32();
        s.m_nGiftHeight = I32();
        s.m_strSlideSeconds = String();
        s.m_bSlideShow = I32();
        s.m_strFont = String();
        return project;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
    std::vector<Entry> m_table; // index = number; 0 is the null pointer
    size_t m_records = 0;
    size_t m_lastNumber = 0; // number of the last new object read completely; 0 after a copy

    size_t Remaining() const { return m_bytes.size() - m_pos; }
    void Need(size_t n) const {
        if (Remaining() < n) {
            Fail("unexpected end of file at offset " + std::to_string(m_pos));
        }
    }
    uint8_t U8() {
        Need(1);
        return m_bytes[m_pos++];
    }
    uint16_t U16() {
        Need(2);
        const uint16_t v = static_cast<uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint32_t U32() {
        const uint32_t lo = U16();
        return lo | (uint32_t{U16()} << 16);
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }

    void CountRecords(size_t n) {
        m_records += n;
        if (m_records > kMaxRecords) {
            Fail("too many cards and links");
        }
    }

    // u8, or 0xFF and u16, or 0xFF, 0xFFFF and u32. Sets `wide` on the 16-bit text mark.
    size_t Length(bool& wide) {
        const uint8_t b = U8();
        if (b < 0xFF) {
            return b;
        }
        const uint16_t w = U16();
        if (w == kUnicodeMark) {
            if (wide) {
                Fail("repeated 16-bit text mark");
            }
            wide = true;
            return Length(wide);
        }
        return w == 0xFFFF ? U32() : w;
    }

    std::string String() {
        bool wide = false;
        const size_t n = Length(wide);
        if (!wide) {
            Need(n);
            std::string_view raw(reinterpret_cast<const char*>(m_bytes.data() + m_pos), n);
            m_pos += n;
            return Cp1252ToUtf8(raw);
        }
        if (n > Remaining() / 2) {
            Fail("unexpected end of file in 16-bit text");
        }
        std::vector<uint16_t> units(n);
        for (auto& u : units) {
            u = U16();
        }
        return Utf16ToUtf8(units);
    }

    size_t Count() {
        const uint16_t n = U16();
        return n == 0xFFFF ? U32() : n;
    }

    // Reads a class record after its 0xFFFF tag; the class takes the next number.
    ClassKind NewClass() {
        const uint16_t schema = U16();
        const uint16_t length = U16();
        if (length >= kMaxClassNameLength) {
            Fail("class name too long");
        }
        Need(length);
        const std::string name(reinterpret_cast<const char*>(m_bytes.data() + m_pos), length);
        m_pos += length;
        auto it = std::find_if(std::begin(kClasses), std::end(kClasses),
                               [&](const ClassRecord& c) { return c.name == name; });
        if (it == std::end(kClasses)) {
            Fail("unknown class '" + name + "'");
        }
        if (it->schema != schema) {
            Fail("class " + name + " has schema " + std::to_string(schema));
        }
        m_table.push_back(Entry{true, it->kind, Role::Card, nullptr});
        return it->kind;
    }

    const Entry& Lookup(uint32_t n, bool wantClass) const {
        if (n == 0 || n >= m_table.size() || m_table[n].isClass != wantClass) {
            Fail(std::string(wantClass ? "class" : "object") + " number " + std::to_string(n) +
                 " not in the table");
        }
        return m_table[n];
    }

    // Reads one archived object that must play `role`: a new object, or a copy of one already read.
    template <Role R> ValueOf<R> ReadObject() {
        const uint16_t t = U16();
        ClassKind kind;
        if (t == kNewClassTag) {
            kind = NewClass();
        } else {
            uint32_t tag = t;
            if (t == kBigTag) {
                tag = U32();
            } else if (t & kClassTagBit) {
                tag = kBigClassTagBit | (t & ~kClassTagBit);
            }
            if (tag == 0) {
                Fail(std::string("missing ") + NameOf(R));
            }
            if (!(tag & kBigClassTagBit)) {
                m_lastNumber = 0;
                return CopyOf<R>(Lookup(tag, false));
            }
            kind = Lookup(tag & ~kBigClassTagBit, true).kind;
        }
        if (kind != ClassOf(R)) {
            Fail(std::string("wrong class where a ") + NameOf(R) + " is expected");
        }
        const size_t number = m_table.size();
        m_table.push_back(Entry{false, kind, R, nullptr});
        auto object = Body<R>();
        m_table[number].object = Address(object);
        m_lastNumber = number;
        return object;
    }

    template <Role R> ValueOf<R> CopyOf(const Entry& entry) {
        if (entry.role != R || entry.object == nullptr) {
            Fail(std::string("object where a ") + NameOf(R) + " is expected");
        }
        if constexpr (R == Role::Card) {
            const auto* card = static_cast<const CCardInfo*>(entry.object);
            CountRecords(1 + card->m_pLinks->m_pLinkList.size());
            return card->Clone();
        } else if constexpr (R == Role::Links) {
            const auto* links = static_cast<const CLinks*>(entry.object);
            CountRecords(links->m_pLinkList.size());
            return links->Clone();
        } else if constexpr (R == Role::LinkList) {
            const auto* list = static_cast<const LinkList*>(entry.object);
            CountRecords(list->size());
            LinkList copy;
            copy.reserve(list->size());
            for (const auto& link : *list) {
                copy.push_back(std::make_unique<CLinkInfo>(*link));
            }
            return copy;
        } else if constexpr (R == Role::Link) {
            CountRecords(1);
            return std::make_unique<CLinkInfo>(*static_cast<const CLinkInfo*>(entry.object));
        } else {
            Fail("repeated card list");
            return CardList{};
        }
    }

    static const void* Address(const CardList&) { return nullptr; } // never referred to again
    static const void* Address(const LinkList&) { return nullptr; } // recorded by its holder
    template <class T> static const void* Address(const std::unique_ptr<T>& p) { return p.get(); }

    template <Role R> ValueOf<R> Body() {
        if constexpr (R == Role::CardList) {
            return List<Role::Card>();
        } else if constexpr (R == Role::LinkList) {
            return List<Role::Link>();
        } else if constexpr (R == Role::Card) {
            return Card();
        } else if constexpr (R == Role::Links) {
            return Links();
        } else {
            return Link();
        }
    }

    template <Role Element> std::vector<ValueOf<Element>> List() {
        const size_t n = Count();
        std::vector<ValueOf<Element>> list;
        list.reserve(std::min(n, Remaining() / 2));
        for (size_t i = 0; i < n; ++i) {
            list.push_back(ReadObject<Element>());
        }
        return list;
    }

    std::unique_ptr<CCardInfo> Card() {
        CountRecords(1);
        auto card = std::make_unique<CCardInfo>();
        card->m_nCardNo = I32();
        card->m_strTitle = String();
        card->m_strTitleColor = String();
        card->m_strComment = String();
        card->m_strCommentColor = String();
        card->m_strBackground = String();
        card->m_nBgAlign = I32();
        card->m_bProjectBg = I32(); // stored before the mail flag
        card->m_bMailAlert = I32();
        card->m_pLinks = ReadObject<Role::Links>();
        return card;
    }

    std::unique_ptr<CLinks> Links() {
        auto links = std::make_unique<CLinks>();
        links->m_pLinkList = ReadObject<Role::LinkList>();
        if (m_lastNumber != 0) {
            m_table[m_lastNumber].object = &links->m_pLinkList; // the list now has its final place
        }
        return links;
    }

    std::unique_ptr<CLinkInfo> Link() {
        CountRecords(1);
        auto link = std::make_unique<CLinkInfo>();
        link->m_strTitle = String();
        link->m_nGoto = I32();
        link->m_nScore = I32();
        link->m_strCompare = String();
        link->m_nCompareValue = I32();
        link->m_nThenGoto = I32();
        return link;
    }
};

} // namespace

Project ReadProject(std::span<const uint8_t> bytes) {
    return Reader(bytes).ReadAll();
}

} // namespace model
