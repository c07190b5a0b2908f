#include "tooltip/markup_tokenizer.h"

#include "tooltip/markup_style.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace markup {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::optional<std::uint32_t> EntityCode(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 8> kNamed{{{"lt", '<'},
                                                                                       {"gt", '>'},
                                                                                       {"amp", '&'},
                                                                                       {"quot", '"'},
                                                                                       {"apos", '\''},
                                                                                       {"nbsp", 0xA0},
                                                                                       {"copy", 0xA9},
                                                                                       {"reg", 0xAE}}};
    for (const auto& [entity, code] : kNamed) {
        if (name == entity) {
            return code;
        }
    }
    if (name.size() < 2 || name[0] != '#') {
        return std::nullopt;
    }
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    // No NUL, no surrogate halves, nothing beyond Unicode.
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return std::nullopt;
    }
    return code;
}

} // namespace

const std::string* Tag::Find(std::string_view wanted) const {
    for (const auto& [name, value] : attributes) {
        if (name == wanted) {
            return &value;
        }
    }
    return nullptr;
}

Tag ParseTag(std::string_view inside) {
    Tag tag;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < inside.size() && IsBlank(inside[i])) {
            ++i;
        }
    };
    skipBlanks();
    if (i < inside.size() && inside[i] == '/') {
        tag.closing = true;
        ++i;
        skipBlanks();
    }
    const std::size_t nameStart = i;
    while (i < inside.size() && !IsBlank(inside[i]) && inside[i] != '/' && inside[i] != '=') {
        ++i;
    }
    tag.name = std::string(inside.substr(nameStart, i - nameStart));
    while (i < inside.size()) {
        skipBlanks();
        if (i < inside.size() && inside[i] == '/') {
            ++i; // a self-closing mark changes nothing
            continue;
        }
        const std::size_t attrStart = i;
        while (i < inside.size() && !IsBlank(inside[i]) && inside[i] != '=') {
            ++i;
        }
        std::string name(inside.substr(attrStart, i - attrStart));
        skipBlanks();
        std::string value;
        if (i < inside.size() && inside[i] == '=') {
            ++i;
            skipBlanks();
            if (i < inside.size() && (inside[i] == '"' || inside[i] == '\'')) {
                const char quote = inside[i++];
                const std::size_t valueStart = i;
                while (i < inside.size() && inside[i] != quote) {
                    ++i;
                }
                value = std::string(inside.substr(valueStart, i - valueStart));
                if (i < inside.size()) {
                    ++i;
                }
            } else {
                const std::size_t valueStart = i;
                while (i < inside.size() && !IsBlank(inside[i])) {
                    ++i;
                }
                value = std::string(inside.substr(valueStart, i - valueStart));
            }
        }
        if (!name.empty()) {
            tag.attributes.emplace_back(std::move(name), std::move(value));
        }
    }
    return tag;
}

std::vector<Token> Tokenize(std::string_view markup) {
    std::vector<Token> tokens;
    std::string text;
    const auto flushText = [&] {
        if (!text.empty()) {
            tokens.push_back({Token::Kind::Text, std::move(text), {}});
            text.clear();
        }
    };
    std::size_t i = 0;
    while (i < markup.size()) {
        const auto lt = markup.find('<', i);
        if (lt == std::string_view::npos) {
            text.append(markup.substr(i));
            break;
        }
        text.append(markup.substr(i, lt - i));
        if (lt + 1 < markup.size() && markup[lt + 1] == '<') {
            text += '<';
            i = lt + 2;
            continue;
        }
        const auto gt = markup.find('>', lt + 1);
        if (gt == std::string_view::npos) {
            break; // an unterminated tag ends the text
        }
        flushText();
        Token token;
        token.kind = Token::Kind::Tag;
        token.tag = ParseTag(ToLower(markup.substr(lt + 1, gt - lt - 1)));
        if (!token.tag.name.empty()) {
            tokens.push_back(std::move(token));
        }
        i = gt + 1;
    }
    flushText();
    return tokens;
}

std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        const auto semi = text.find(';', amp + 1);
        // Entity names are short; a lone "&" in running text stays as it is.
        if (semi != std::string_view::npos && semi - amp <= 10) {
            if (const auto code = EntityCode(text.substr(amp + 1, semi - amp - 1))) {
                AppendUtf8(out, *code);
                i = semi + 1;
                continue;
            }
        }
        out += '&';
        i = amp + 1;
    }
    return out;
}

} // namespace markup
