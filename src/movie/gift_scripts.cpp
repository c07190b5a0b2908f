#include "movie/gift_scripts.h"

#include "swf/as/string_literal.h"

#include <cstdint>
#include <cstdio>

namespace movie {

std::string AsStringLiteral(std::string_view text) {
    return swf::as::string_literal(text);
}

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto b = uint8_t(c);
        const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                                b == '-' || b == '_' || b == '.' || b == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string_view ScriptOperator(std::string_view compare) {
    if (compare == "=") {
        return "==";
    }
    if (compare == ">" || compare == ">=" || compare == "<=" || compare == "<") {
        return compare;
    }
    return "";
}

std::string LinkScript(const LinkScriptInput& link) {
    std::string condition;
    if (const std::string_view op = ScriptOperator(link.compare); !op.empty()) {
        condition = "if(_root.score" + std::string(op) + std::to_string(link.compare_value) +
                    "){gotoAndStop(" + std::to_string(int64_t(link.then_goto) + 1) + ");}else";
    }
    std::string trace_entry = std::string(link.card_title) + "[-]" + std::string(link.link_title) + "[N]";
    return "_root.score += " + std::to_string(link.score) + "; _root.trace+=" + AsStringLiteral(trace_entry) +
           "; " + condition + " {gotoAndStop(" + std::to_string(int64_t(link.goto_card) + 1) + ");}";
}

std::string MailAlertUrl(std::string_view card_title, std::string_view email) {
    return std::string(kMakerHost) + std::string(kMailAlertPath) + "?title=" + PercentEncode(card_title) +
           "&target=" + PercentEncode(email) + "&trace=";
}

std::string CreditUrl(std::string_view email) {
    return std::string(kMakerHost) + std::string(kPromotePath) + "?from=" + std::string(email);
}

std::string AuthorUrl(std::string_view email) {
    return "mailto:" + std::string(email);
}

std::string MailAlertScript(std::string_view card_title, std::string_view email) {
    return "getUrl(" + AsStringLiteral(MailAlertUrl(card_title, email)) +
           "+escape(_root.trace), \"_blank\");";
}

std::string CreditScript(std::string_view email) {
    return "getUrl(" + AsStringLiteral(CreditUrl(email)) + ", \"_blank\");";
}

std::string AuthorScript(std::string_view email) {
    return "getUrl(" + AsStringLiteral(AuthorUrl(email)) + ",\"_blank\");";
}

} // namespace movie
