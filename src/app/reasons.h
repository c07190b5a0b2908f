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
CW_REASON(kSaveProject, "Failed to save current project");
CW_REASON(kClearSkin, "Failed to clear the resouces of skin");
CW_REASON(kChangeComment, "Error in CCardwrightDlg::OnChangeEditComment");
CW_REASON(kChangeLinkScore, "Error in CCardwrightDlg::OnChangeEditLinkscore");
CW_REASON(kKillfocusLinkTitle, "Error in CCardwrightDlg::OnKillfocusEditLinktitle");
CW_REASON(kActionGetUrl, "Failed to add ActionScript: getUrl();");
CW_REASON(kActionStop, "Failed to add ActionScript: stop();");
CW_REASON(kAddMusic, "Failed to add music to the e-gift, please try it again.");
CW_REASON(kCreateSwf, "Failed to create SWF file, Please try again");
CW_REASON(kClearResources, "Failed to clear resources");
CW_REASON(kNextFrame, "Failed to move to the next frame");
CW_REASON(kPromoteText, "Failed to add promote text");
CW_REASON(kPromoteTextShadow, "Failed to add promote text shadow");
CW_REASON(kAuthorButton, "Failed to add author button control");
CW_REASON(kPromoteButton, "Failed to add promote button control");
CW_REASON(kEmailSentLink, "Failed to add email sent link");
CW_REASON(kButtonAction, "Failed to add action to button");
CW_REASON(kNewButton, "Failed to create new SWF Button");
CW_REASON(kPromoteButtonShape, "Failed to add shape of promote button");
CW_REASON(kAuthorButtonBackground, "Failed to add author button background");
CW_REASON(kButtonBackground, "Failed to add button background");
CW_REASON(kPromoteLinkShadow, "Failed to add shadow of promote link");
CW_REASON(kPromoteLinkText, "Failed to add text of promote link");
CW_REASON(kMoveButtonTitle, "Failed to move the title of the button");
CW_REASON(kActionGotoAndPlay, "Failed to add action gotoAndPlay to the e-gift");
CW_REASON(kAddButton, "Failed to add button to the card");
CW_REASON(kDrawButtonBackground1, "Failed to draw the background of the button");
CW_REASON(kDrawButtonBackground2, "Failed to draw the background of button");
CW_REASON(kCreateShape, "Error when creating a Shape");
CW_REASON(kLinkColor, "Error when setting the color of the link");
CW_REASON(kLinkTitle, "Error when adding the title of link, please restart the program");
CW_REASON(kAddTitle, "Error when adding title to the e-gift");
CW_REASON(kTitleLength, "Error when get the length of title, please try it again");
CW_REASON(kCreateTitle, "Error when creating title");
CW_REASON(kDrawBackgroundColor, "Error in draw the color of background");
CW_REASON(kAddSwfFile, "Error when add Swf file to the e-gift.");
CW_REASON(kDrawColorBackground, "Error when drawing color background. Please try again");

#undef CW_REASON

} // namespace reasons
} // namespace app
