#include "cli/project_json.h"

#include <nlohmann/json.hpp>

#include <limits>

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

Json LinkToJson(const model::CLinkInfo& l) {
    return Json{{"m_strTitle", l.m_strTitle},
                {"m_nGoto", l.m_nGoto},
                {"m_nScore", l.m_nScore},
                {"m_strCompare", l.m_strCompare},
                {"m_nCompareValue", l.m_nCompareValue},
                {"m_nThenGoto", l.m_nThenGoto}};
}

Json CardToJson(const model::CCardInfo& c) {
    Json links = Json::array();
    for (const auto& link : c.m_pLinks->m_pLinkList) {
        links.push_back(LinkToJson(*link));
    }
    return Json{{"m_nCardNo", c.m_nCardNo},
                {"m_strTitle", c.m_strTitle},
                {"m_strTitleColor", c.m_strTitleColor},
                {"m_strComment", c.m_strComment},
                {"m_strCommentColor", c.m_strCommentColor},
                {"m_strBackground", c.m_strBackground},
                {"m_nBgAlign", c.m_nBgAlign},
                {"m_bMailAlert", c.m_bMailAlert},
                {"m_bProjectBg", c.m_bProjectBg},
                {"links", links}};
}

Json SettingsToJson(const model::ProjectSettings& s) {
    return Json{{"m_strAuthor", s.m_strAuthor},         {"m_strEmail", s.m_strEmail},
                {"m_strBackground", s.m_strBackground}, {"m_nBgAlign", s.m_nBgAlign},
                {"m_strButton", s.m_strButton},         {"m_strButtonTextColor", s.m_strButtonTextColor},
                {"m_strMusic", s.m_strMusic},           {"m_bPromoteLast", s.m_bPromoteLast},
                {"m_bPromoteEach", s.m_bPromoteEach},   {"m_nGiftWidth", s.m_nGiftWidth},
                {"m_nGiftHeight", s.m_nGiftHeight},     {"m_strSlideSeconds", s.m_strSlideSeconds},
                {"m_bSlideShow", s.m_bSlideShow},       {"m_strFont", s.m_strFont}};
}

// Reads the members of one JSON object into a record; `where` names the object in messages.
class Fields {
public:
    Fields(const Json& object, std::string where) : m_object(object), m_where(std::move(where)) {
        if (!m_object.is_object()) {
            throw JsonError(m_where + ": expected an object");
        }
    }

    void String(const char* key, std::string& out) {
        if (const Json* v = Find(key)) {
            if (!v->is_string()) {
                throw JsonError(Name(key) + ": expected a string");
            }
            out = v->get<std::string>();
        }
    }

    // An integer in the signed 32-bit range; flags also take true and false.
    void Int(const char* key, int32_t& out) {
        if (const Json* v = Find(key)) {
            if (v->is_boolean()) {
                out = v->get<bool>() ? 1 : 0;
                return;
            }
            const bool fits = (v->is_number_unsigned() &&
                               v->get<uint64_t>() <= uint64_t(std::numeric_limits<int32_t>::max())) ||
                              (v->is_number_integer() && !v->is_number_unsigned() &&
                               v->get<int64_t>() >= std::numeric_limits<int32_t>::min() &&
                               v->get<int64_t>() <= std::numeric_limits<int32_t>::max());
            if (!fits) {
                throw JsonError(Name(key) + ": expected a 32-bit integer");
            }
            out = static_cast<int32_t>(v->get<int64_t>());
        }
    }

    const Json* Find(const char* key) {
        m_known.push_back(key);
        auto it = m_object.find(key);
        return it == m_object.end() ? nullptr : &*it;
    }

    std::string Name(const std::string& key) const { return m_where.empty() ? key : m_where + "." + key; }

    // Every key must be one of those asked for, so a misspelt key is not silently dropped.
    void CheckNoOthers() const {
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            if (std::find(m_known.begin(), m_known.end(), it.key()) == m_known.end()) {
                throw JsonError(Name(it.key()) + ": unknown key");
            }
        }
    }

private:
    const Json& m_object;
    std::string m_where;
    std::vector<std::string> m_known;
};

std::unique_ptr<model::CLinkInfo> LinkFromJson(const Json& j, const std::string& where, int cardIndex,
                                               int linkIndex) {
    auto link = std::make_unique<model::CLinkInfo>();
    link->m_strTitle = model::DefaultLinkTitle(linkIndex);
    link->m_nGoto = cardIndex + 1;
    Fields f(j, where);
    f.String("m_strTitle", link->m_strTitle);
    f.Int("m_nGoto", link->m_nGoto);
    f.Int("m_nScore", link->m_nScore);
    f.String("m_strCompare", link->m_strCompare);
    f.Int("m_nCompareValue", link->m_nCompareValue);
    f.Int("m_nThenGoto", link->m_nThenGoto);
    f.CheckNoOthers();
    return link;
}

std::unique_ptr<model::CCardInfo> CardFromJson(const Json& j, const std::string& where, int index) {
    auto card = model::CCardInfo::MakeNew(index);
    Fields f(j, where);
    f.Int("m_nCardNo", card->m_nCardNo);
    f.String("m_strTitle", card->m_strTitle);
    f.String("m_strTitleColor", card->m_strTitleColor);
    f.String("m_strComment", card->m_strComment);
    f.String("m_strCommentColor", card->m_strCommentColor);
    f.String("m_strBackground", card->m_strBackground);
    f.Int("m_nBgAlign", card->m_nBgAlign);
    f.Int("m_bMailAlert", card->m_bMailAlert);
    f.Int("m_bProjectBg", card->m_bProjectBg);
    if (const Json* links = f.Find("links")) {
        if (!links->is_array()) {
            throw JsonError(f.Name("links") + ": expected a list");
        }
        for (size_t i = 0; i < links->size(); ++i) {
            card->m_pLinks->m_pLinkList.push_back(LinkFromJson(
                (*links)[i], f.Name("links") + "[" + std::to_string(i) + "]", index, static_cast<int>(i)));
        }
    }
    f.CheckNoOthers();
    return card;
}

void SettingsFromJson(const Json& j, model::ProjectSettings& s) {
    Fields f(j, "settings");
    f.String("m_strAuthor", s.m_strAuthor);
    f.String("m_strEmail", s.m_strEmail);
    f.String("m_strBackground", s.m_strBackground);
    f.Int("m_nBgAlign", s.m_nBgAlign);
    f.String("m_strButton", s.m_strButton);
    f.String("m_strButtonTextColor", s.m_strButtonTextColor);
    f.String("m_strMusic", s.m_strMusic);
    f.Int("m_bPromoteLast", s.m_bPromoteLast);
    f.Int("m_bPromoteEach", s.m_bPromoteEach);
    f.Int("m_nGiftWidth", s.m_nGiftWidth);
    f.Int("m_nGiftHeight", s.m_nGiftHeight);
    f.String("m_strSlideSeconds", s.m_strSlideSeconds);
    f.Int("m_bSlideShow", s.m_bSlideShow);
    f.String("m_strFont", s.m_strFont);
    f.CheckNoOthers();
}

} // namespace

std::string ProjectToJson(const model::Project& project) {
    Json cards = Json::array();
    for (const auto& card : project.cards) {
        cards.push_back(CardToJson(*card));
    }
    const Json root{{"cards", cards}, {"settings", SettingsToJson(project.settings)}};
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

model::Project ProjectFromJson(std::string_view text) {
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        throw JsonError(std::string("bad JSON: ") + e.what());
    }
    model::Project project = model::MakeDefaultProject();
    Fields top(root, "");
    if (const Json* cards = top.Find("cards")) {
        if (!cards->is_array()) {
            throw JsonError("cards: expected a list");
        }
        project.cards.clear();
        for (size_t i = 0; i < cards->size(); ++i) {
            project.cards.push_back(
                CardFromJson((*cards)[i], "cards[" + std::to_string(i) + "]", static_cast<int>(i)));
        }
    }
    if (const Json* settings = top.Find("settings")) {
        SettingsFromJson(*settings, project.settings);
    }
    top.CheckNoOthers();
    return project;
}

} // namespace cli
