// The texts of the editor's pop-up help: the tip of each control (by control id, the editor's layout
// names them) and the welcome tip shown when the editor opens, with its three command links.
#pragma once

#include <array>
#include <string_view>

namespace tooltip {

struct ControlTip {
    int id;
    std::string_view control; // what the control is, for the editor's wiring
    std::string_view text;
};

inline constexpr std::string_view kTipLinkTo =
    "<b>Link to another card.</b><BR>When users click this link, e-gift will jump to the selected card.";
inline constexpr std::string_view kTipLinkScore =
    "<b>Edit of score of link.</b><BR>When users click this link, it will add the score to the e-gift.";
inline constexpr std::string_view kTipCompareScore =
    "<b>Score of compare condition</b><BR>When users click this link, if the current score \"bigger\" or<BR> "
    "\"smaller\" or \"equal\" this score Then Jump to this card";

inline constexpr std::array<ControlTip, 24> kControlTips{{
    {1097, "New button", "To <b>Create a new blank project</b>. Click New button."},
    {1034, "Open button",
     "<b>Open an existed e-gift theme</b> to learn and continue edit. Click Open button"},
    {1100, "Preview button", "<b>Preview your e-gift anytime</b> Click Preview button."},
    {1101, "Finish button", "If you think <b>You e-gift is ready to publish.</b> Click Finish button."},
    {1102, "Save button", "To <b>Save current project.</b> Click Save button."},
    {1008, "Add Pics button", "Add <b>background color of picture</b> to current card."},
    {1098, "Project Settings button",
     "<b>Set the settings of project</b><BR>Such as email address, button's style, music and so on."},
    {1006, "title edit", "Edit the <b>content of title.</b>"},
    {1007, "comment edit", "Edit the <b>content of comment.</b>"},
    {1014, "title colour", "Edit the <b>color of title.</b>"},
    {1015, "comment colour", "Edit the <b>color of comment.</b>"},
    {1001, "Add Card button", "<b>Add a new card</b> to the e-gift."},
    {1002, "Rmv Card button", "<b>Remove selected card</b> from the e-gift."},
    {1003, "Add Link button", "<b>Add a new link (button)</b> to the card."},
    {1004, "Rmv Link button", "<b>Remove selected link</b> from the card."},
    {1072, "e-mail alert check box",
     "<b>Send auto email to you.</b><BR>If you would like to receive the answers from user. Please choose "
     "this "
     "option."},
    {1017, "link goto list", kTipLinkTo},
    {1038, "then goto list", kTipLinkTo},
    {1018, "link score", kTipLinkScore},
    {1039, "then score", kTipLinkScore},
    {1020, "compare type",
     "<b>Type of compare condition</b><BR>When users click this link, if the current score \"bigger\" or "
     "\"smaller\" or \"equal\"."},
    {1022, "compare score",
     "<b>Score of compare condition</b><BR>When users click this link, if the current score is bigger than "
     "this "
     "score Then"},
    {1021, "compare score (then)", kTipCompareScore},
    {1041, "compare goto (then)", kTipCompareScore},
}};

// The tip text of a control id; empty when the control has none.
constexpr std::string_view ControlTipText(int id) {
    for (const ControlTip& tip : kControlTips) {
        if (tip.id == id) {
            return tip.text;
        }
    }
    return {};
}

// The welcome tip. Its links send "1" (preview the project), "2" (the help movie) and "3" (open a
// project). The tab characters that start the numbered lines draw nothing, as tabs outside "pre" do.
inline constexpr std::string_view kWelcomeText =
    "Welcome to <font color=red><b>Cardwright</b></font> 2.5.2<bmp idres=165 mask hotstyle=s><BR>"
    "<BR>"
    "<i><b>What is new</b></i><BR>"
    ". Live Help: Popup tooltip everywhere<BR>"
    "  just stop moving 2 seconds.<BR>"
    ". Remove some resource to ecrease the file size of Setup file.<BR>"
    "<BR>"
    "<i><b>What can I do?</b></i><BR>"
    ". What is e-gift? <A msg=\"1\">View current project</A>.<BR>"
    ". Learn how to create an easy e-gift <A msg=\"2\">click here</A>.<BR>"
    "\t<b>1.</b> There are several cards and links in Browse Tree on the window's left side.<BR>"
    "\t<b>2.</b> Click a card item, this card will display on the center window.<BR>"
    "\t<b>3.</b> Click \"Add Pic\", and set picture or your clipart as the background of card<BR>"
    "\t<b>4.</b> Change the content of title, the colour of title and so on.<BR>"
    "\t<b>5.</b> Adjust the option of links if you need.<BR>"
    "\t<b>6.</b> Click \"Preview\" button to preview your e-gift.<BR>"
    "\t<b>Loop</b> these steps until you finishing your e-gift, and then click \"Finish\" button.<BR>"
    ". Open an existed project <A msg=\"3\">click here</A>.<BR>"
    "<BR>"
    "<i><b>What could be made by Cardwright?</b></i><BR>"
    "- View samples from menu: File - View Samples<BR>"
    "- Visit our site to get more samples and themes<BR>"
    "<BR>"
    "<i><b>We need your feedback!!!</b></i><BR>"
    ". Tell us what you would like to make with Cardwright next,<BR>"
    "  what was hard to find, and what you liked.<BR>"
    ". Write to us: <A href=\"mailto:feedback@cardwright.example\">feedback@cardwright.example</A><BR>";

// The messages of the welcome tip's links.
inline constexpr std::string_view kWelcomePreview = "1";
inline constexpr std::string_view kWelcomeHelpMovie = "2";
inline constexpr std::string_view kWelcomeOpen = "3";

// The program's picture in the welcome text.
inline constexpr int kWelcomePicture = 165;

// The Hot Keys hint of the Help menu.
inline constexpr std::string_view kHotKeysHint =
    "F1:  Help Center\nF2:  Add new card\nF3:  Add new link\nF5:  Preview Flash e-gift";

} // namespace tooltip
