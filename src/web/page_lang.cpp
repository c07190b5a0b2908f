#include "web/page_lang.h"

#include "swf/utf8.h"

#include <array>
#include <cctype>
#include <map>

namespace web {

namespace {

enum class Script { Latin, Japanese, Han, Arabic, Hebrew, Hangul, Thai, Greek, Cyrillic, Devanagari, Other };

bool In(char32_t c, char32_t a, char32_t b) {
    return c >= a && c <= b;
}

Script ScriptOf(char32_t c) {
    if (In(c, 0x3040, 0x30FF) || In(c, 0x31F0, 0x31FF) || In(c, 0xFF66, 0xFF9F))
        return Script::Japanese;
    if (In(c, 0x4E00, 0x9FFF) || In(c, 0x3400, 0x4DBF) || In(c, 0x20000, 0x2FFFF))
        return Script::Han;
    if (In(c, 0x0600, 0x06FF) || In(c, 0x0750, 0x077F) || In(c, 0xFB50, 0xFDFF) || In(c, 0xFE70, 0xFEFF))
        return Script::Arabic;
    if (In(c, 0x0590, 0x05FF))
        return Script::Hebrew;
    if (In(c, 0xAC00, 0xD7AF) || In(c, 0x1100, 0x11FF) || In(c, 0x3130, 0x318F))
        return Script::Hangul;
    if (In(c, 0x0E00, 0x0E7F))
        return Script::Thai;
    if (In(c, 0x0370, 0x03FF) || In(c, 0x1F00, 0x1FFF))
        return Script::Greek;
    if (In(c, 0x0400, 0x04FF))
        return Script::Cyrillic;
    if (In(c, 0x0900, 0x097F))
        return Script::Devanagari;
    if ((c < 0x80 && std::isalpha(int(c))) || In(c, 0x00C0, 0x024F))
        return Script::Latin;
    return Script::Other;
}

// The script a language is written in (Latin for every language not listed).
Script ScriptOfLanguage(std::string_view lang) {
    static const std::map<std::string_view, Script> scripts = {
        {"ja", Script::Japanese},  {"zh", Script::Han},        {"ar", Script::Arabic},
        {"fa", Script::Arabic},    {"ur", Script::Arabic},     {"he", Script::Hebrew},
        {"ko", Script::Hangul},    {"th", Script::Thai},       {"el", Script::Greek},
        {"ru", Script::Cyrillic},  {"uk", Script::Cyrillic},   {"bg", Script::Cyrillic},
        {"sr", Script::Cyrillic},  {"be", Script::Cyrillic},   {"mk", Script::Cyrillic},
        {"kk", Script::Cyrillic},  {"hi", Script::Devanagari}, {"mr", Script::Devanagari},
        {"ne", Script::Devanagari}};
    const auto found = scripts.find(lang.substr(0, lang.find('-')));
    return found == scripts.end() ? Script::Latin : found->second;
}

std::string_view LanguageOf(Script script) {
    switch (script) {
    case Script::Japanese:
        return "ja";
    case Script::Han:
        return "zh";
    case Script::Arabic:
        return "ar";
    case Script::Hebrew:
        return "he";
    case Script::Hangul:
        return "ko";
    case Script::Thai:
        return "th";
    case Script::Greek:
        return "el";
    case Script::Cyrillic:
        return "ru";
    case Script::Devanagari:
        return "hi";
    default:
        return "";
    }
}

} // namespace

std::string LanguageTag(std::string_view locale) {
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") {
        return "en";
    }
    std::string tag;
    for (char c : name) {
        if (c == '_') {
            tag += '-';
        } else if (std::isalnum(uint8_t(c)) || c == '-') {
            tag += c;
        } else {
            return "en"; // not a locale name
        }
    }
    return tag.size() >= 2 ? tag : "en";
}

std::string PageLanguage(std::string_view text, std::string_view author_tag) {
    std::array<size_t, size_t(Script::Other) + 1> counts{};
    size_t letters = 0;
    bool kana = false;
    for (char32_t c : swf::detail::decode_utf8(text)) {
        const Script s = ScriptOf(c);
        if (s == Script::Other) {
            continue;
        }
        kana = kana || s == Script::Japanese;
        ++counts[size_t(s)];
        ++letters;
    }
    // Han characters with kana are Japanese.
    if (kana) {
        counts[size_t(Script::Japanese)] += counts[size_t(Script::Han)];
        counts[size_t(Script::Han)] = 0;
    }
    for (size_t s = 0; s < counts.size(); ++s) {
        const auto script = Script(s);
        if (script == Script::Latin || 2 * counts[s] <= letters) {
            continue;
        }
        const Script authors = ScriptOfLanguage(author_tag);
        // Chinese written by a Japanese author stays Japanese, and the other way round.
        const bool sameFamily = (script == Script::Han && authors == Script::Japanese);
        if (script != authors && !sameFamily) {
            return std::string(LanguageOf(script));
        }
    }
    return std::string(author_tag.empty() ? "en" : author_tag);
}

} // namespace web
