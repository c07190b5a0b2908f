// The fixed reasons of error reports: the text shown to the user and the text written to the log.
#pragma once

#include <string_view>

namespace app {

struct Reason {
    std::string_view message; // shown in the report after "Reason:"
    std::string_view log;     // written to the log
};

namespace reasons {

#define CW_REASON(name, text)                                                                                \
    inline constexpr Reason name {                                                                           \
        text, text "\n"                                                                                      \
    }

CW_REASON(kRemoveLink, "Exception in CCardwrightDlg::OnBtnRemovelink");
CW_REASON(kClose, "Exception in CCardwrightDlg::OnClose");
inline constexpr Reason kFlashDisplay{
    "Bad generation of flash document or Flash.ocx is missing. Please restart "
    "the program or reinstall the program.",
    "Flash.ocx Display Error\n"};
CW_REASON(kSaveProject, "Failed to save the current project");
CW_REASON(kClearSkin, "Failed to clear the resources of the skin");
CW_REASON(kChangeComment, "Error in CCardwrightDlg::OnChangeEditComment");
CW_REASON(kChangeLinkScore, "Error in CCardwrightDlg::OnChangeEditLinkscore");
CW_REASON(kKillfocusLinkTitle, "Error in CCardwrightDlg::OnKillfocusEditLinktitle");
CW_REASON(kActionGetUrl, "Failed to add ActionScript: getUrl();");
CW_REASON(kActionStop, "Failed to add ActionScript: stop();");
CW_REASON(kAddMusic, "Failed to add music to the e-gift; please try again.");
CW_REASON(kCreateSwf, "Failed to create the SWF file. Please try again.");
CW_REASON(kClearResources, "Failed to clear resources");
CW_REASON(kNextFrame, "Failed to move to the next frame");
CW_REASON(kPromoteText, "Failed to add the promotion text");
CW_REASON(kPromoteTextShadow, "Failed to add the shadow of the promotion text");
CW_REASON(kAuthorButton, "Failed to add the author button");
CW_REASON(kPromoteButton, "Failed to add the promotion button");
CW_REASON(kEmailSentLink, "Failed to add the link that sends the e-mail");
CW_REASON(kButtonAction, "Failed to add the action to the button");
CW_REASON(kNewButton, "Failed to create a new SWF button");
CW_REASON(kPromoteButtonShape, "Failed to add the shape of the promotion button");
CW_REASON(kAuthorButtonBackground, "Failed to add the background of the author button");
CW_REASON(kButtonBackground, "Failed to add the background of the button");
CW_REASON(kPromoteLinkShadow, "Failed to add the shadow of the promotion link");
CW_REASON(kPromoteLinkText, "Failed to add the text of the promotion link");
CW_REASON(kMoveButtonTitle, "Failed to move the title of the button");
CW_REASON(kActionGotoAndPlay, "Failed to add the action gotoAndPlay to the e-gift");
CW_REASON(kAddButton, "Failed to add button to the card");
CW_REASON(kDrawButtonBackground1, "Failed to draw the background of the button");
CW_REASON(kDrawButtonBackground2, "Failed to draw the button's background");
CW_REASON(kCreateShape, "Error when creating a shape");
CW_REASON(kLinkColor, "Error when setting the color of the link");
CW_REASON(kLinkTitle, "Error when adding the title of the link; please restart the program");
CW_REASON(kAddTitle, "Error when adding the title to the e-gift");
CW_REASON(kTitleLength, "Error when getting the length of the title; please try again");
CW_REASON(kCreateTitle, "Error when creating title");
CW_REASON(kDrawBackgroundColor, "Error when drawing the color of the background");
CW_REASON(kAddSwfFile, "Error when adding the SWF file to the e-gift.");
CW_REASON(kDrawColorBackground, "Error when drawing the background color. Please try again.");

#undef CW_REASON

} // namespace reasons
} // namespace app
