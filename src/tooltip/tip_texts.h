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
    "<b>Link to another card.</b><BR>When a visitor clicks this link, the e-gift jumps to the selected card.";
inline constexpr std::string_view kTipLinkScore = "<b>Score of the link.</b><BR>When a visitor clicks this "
                                                  "link, this score is added to the e-gift's score.";
inline constexpr std::string_view kTipCompareScore =
    "<b>Score of the condition</b><BR>When a visitor clicks this link and the score is \"bigger\" than,<BR> "
    "\"smaller\" than or \"equal\" to this score, the e-gift jumps to this card.";

inline constexpr std::array<ControlTip, 24> kControlTips{{
    {1097, "New button", "To <b>create a new blank project,</b> click the New button."},
    {1034, "Open button",
     "<b>Open an existing e-gift theme</b> to learn from and edit. Click the Open button."},
    {1100, "Preview button", "<b>Preview your e-gift at any time.</b> Click the Preview button."},
    {1101, "Finish button", "When <b>your e-gift is ready to publish,</b> click the Finish button."},
    {1102, "Save button", "To <b>save the current project,</b> click the Save button."},
    {1008, "Add Pics button", "Add a <b>background color or picture</b> to the current card."},
    {1098, "Project Settings button",
     "<b>Change the project's settings</b><BR>such as the e-mail address, the button style, music and so "
     "on."},
    {1006, "title edit", "Edit the <b>text of the title.</b>"},
    {1007, "comment edit", "Edit the <b>text of the comment.</b>"},
    {1014, "title colour", "Edit the <b>color of the title.</b>"},
    {1015, "comment colour", "Edit the <b>color of the comment.</b>"},
    {1001, "Add Card button", "<b>Add a new card</b> to the e-gift."},
    {1002, "Remove Card button", "<b>Remove the selected card</b> from the e-gift."},
    {1003, "Add Link button", "<b>Add a new link (button)</b> to the card."},
    {1004, "Remove Link button", "<b>Remove the selected link</b> from the card."},
    {1072, "e-mail alert check box",
     "<b>Send an automatic e-mail to you.</b><BR>If you would like to receive the answers of your visitors, "
     "please choose this option."},
    {1017, "link goto list", kTipLinkTo},
    {1038, "then goto list", kTipLinkTo},
    {1018, "link score", kTipLinkScore},
    {1039, "then score", kTipLinkScore},
    {1020, "compare type",
     "<b>Type of the condition</b><BR>When a visitor clicks this link, the current score is compared: "
     "\"bigger\", \"smaller\" or \"equal\"."},
    {1022, "compare score",
     "<b>Score of the condition</b><BR>When a visitor clicks this link, the current score is compared with "
     "this score."},
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
    ". Live Help: a pop-up tip on every control;<BR>"
    "  just rest the pointer for 2 seconds.<BR>"
    ". Some resources were removed to make the setup file smaller.<BR>"
    "<BR>"
    "<i><b>What can I do?</b></i><BR>"
    ". What is an e-gift? <A msg=\"1\">View the current project</A>.<BR>"
    ". Learn how to create a simple e-gift: <A msg=\"2\">click here</A>.<BR>"
    "\t<b>1.</b> The cards and links are in the tree on the left side of the window.<BR>"
    "\t<b>2.</b> Click a card, and the card is shown in the middle of the window.<BR>"
    "\t<b>3.</b> Click \"Add Pics\" and set a picture or your clip art as the background of the card.<BR>"
    "\t<b>4.</b> Change the text of the title, its colour and so on.<BR>"
    "\t<b>5.</b> Adjust the options of the links if you need to.<BR>"
    "\t<b>6.</b> Click the \"Preview\" button to preview your e-gift.<BR>"
    "\t<b>Repeat</b> these steps until your e-gift is finished, and then click the \"Finish\" button.<BR>"
    ". Open an existing project: <A msg=\"3\">click here</A>.<BR>"
    "<BR>"
    "<i><b>What can be made with Cardwright?</b></i><BR>"
    "- View the samples from the menu: File - View Samples<BR>"
    "- Visit our site to get more samples and themes<BR>"
    "<BR>"
    "<i><b>We need your feedback!</b></i><BR>"
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
