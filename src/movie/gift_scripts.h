// The ActionScript of a gift movie: the opening and stop actions, the link button scripts, the e-mail
// alert and the credit and author actions. Titles and addresses always enter a script as escaped string
// literals, so no text a user types can break a script or add code to it.
#pragma once

#include <string>
#include <string_view>

namespace movie {

// The maker's web host: the e-mail alert form and the promote page live there.
inline constexpr std::string_view kMakerHost = "http://cardwright.example";
inline constexpr std::string_view kMailAlertPath = "/member/emailalert.php";
inline constexpr std::string_view kPromotePath = "/ordernow.php";

inline constexpr std::string_view kOpeningScript = "score=0; trace=\"\";";
inline constexpr std::string_view kStopScript = "stop();";

// `text` as a double-quoted ActionScript string literal that evaluates to exactly `text` (a NUL, which
// a movie string cannot hold, is left out).
std::string AsStringLiteral(std::string_view text);

// `text` percent-encoded for a URL query value: every byte except A-Z a-z 0-9 - _ . ~ becomes %XX.
std::string PercentEncode(std::string_view text);

// The comparison of a link, written into its script: ">", ">=", "<=", "<" unchanged, "=" as "==".
// Returns "" for no comparison and for anything that is not one of the five operators.
std::string_view ScriptOperator(std::string_view compare);

struct LinkScriptInput {
    int score = 0;
    std::string_view card_title;
    std::string_view link_title;
    std::string_view compare;
    int compare_value = 0;
    int then_goto = 0; // 0-based card reference
    int goto_card = 0; // 0-based card reference
};

// "_root.score += S; _root.trace+="CARD[-]LINK[N]"; COND {gotoAndStop(G);}" with the condition
// "if(_root.scoreOPV){gotoAndStop(T);}else" when the link compares; frames are card + 1.
std::string LinkScript(const LinkScriptInput& link);

// The e-mail alert form's URL for a card, up to the visitor's trace, which follows it escaped.
std::string MailAlertUrl(std::string_view card_title, std::string_view email);
// The promote page with the author's address, and the mail to the author.
std::string CreditUrl(std::string_view email);
std::string AuthorUrl(std::string_view email);

// The frame action of a card marked for e-mail alerts: opens the alert form in a new window with the
// card title, the author's address and the visitor's trace.
std::string MailAlertScript(std::string_view card_title, std::string_view email);

// The credit button's action: the promote page with the author's address, in a new window.
std::string CreditScript(std::string_view email);

// The author button's action: a mail to the author, in a new window.
std::string AuthorScript(std::string_view email);

} // namespace movie
