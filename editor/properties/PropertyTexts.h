// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts and help numbers of the property frame, its sheets, pages and dialogs.
// Labels of the page layouts live in their .ui files; value lists in model/StyleNames.h.
namespace kestrune::texts {

inline constexpr const char* kFrameCaption = "Property Sheet";
inline constexpr const char* kAppletSheetTitle = "Vorane's Properties";
inline constexpr const char* kItemSheetTitle = "Item's Properties";

inline constexpr const char* kAppletPageCaption = "Applet Parameters";
inline constexpr const char* kMenuStylePageCaption = "Menu Style";
inline constexpr const char* kItemNormalPageCaption = "Item Normal";
inline constexpr const char* kItemMouseOverPageCaption = "Item Mouse Over";
inline constexpr const char* kItemClickedPageCaption = "Item Clicked";
inline constexpr const char* kItemPageCaption = "Item";

inline constexpr const char* kMenuButtonText = "Menu";
inline constexpr const char* kItemButtonText = "Item";
inline constexpr const char* kMenuButtonCaption = "How...";
inline constexpr const char* kItemButtonCaption = "What...";
inline constexpr const char* kMenuButtonTip = "Properties:How to display this item and his siblings";
inline constexpr const char* kItemButtonTip = "Properties:What is displayed on the item";
inline constexpr const char* kMenuButtonPicture = ":/icons/sheet_menu.png";
inline constexpr const char* kItemButtonPicture = ":/icons/sheet_item.png";
inline constexpr const char* kCornerPicturePattern = ":/icons/arrow_corner%1.png";

// The applet size the applet page takes; Auto-Change keeps within it too.
inline constexpr int kMinAppletSize = 0;
inline constexpr int kMaxAppletSize = 5000;
inline constexpr const char* kMsgEnterInteger = "Please enter an integer.";
inline constexpr const char* kMsgEnterIntegerBetween = "Please enter an integer between %1 and %2.";
// Commas separate the fields of the menu file and of the applet parameters, without escaping.
inline constexpr const char* kMsgNoComma =
    "Please enter a text without commas: the menu file and the applet parameters use commas "
    "to separate their fields.";

// Caption and pattern list separated by bars, as the file choosers are given them.
// GIF and JPEG are what an applet shows; the script runtime and the preview draw PNG too.
inline constexpr const char* kImageFilter =
    "Image Files(*.GIF,*.JPG.*.JPEG) | *.gif;*.jpg;*.jpeg | "
    "Image Files for Today's Browsers(*.GIF,*.JPG,*.JPEG,*.PNG) | *.gif;*.jpg;*.jpeg;*.png ||";
inline constexpr const char* kAudioFilter = "Audio Files(*.au) | *.au";

inline constexpr const char* kTargetSuggestions[] = {"_self", "_parent", "_top", "_blank"};

inline constexpr const char* kFontDialogTitle = "Font";
inline constexpr const char* kImageDialogTitle = "Image";
inline constexpr const char* kAudioDialogTitle = "Audio";
inline constexpr const char* kNormalRowLabel = "Normal:";
inline constexpr const char* kMouseOverRowLabel = "Mouse Over:";
inline constexpr const char* kClickRowLabel = "Click:";
inline constexpr const char* kBrowseButtonText = "...";
inline constexpr const char* kApplyToTitle = "Apply to";
inline constexpr const char* kApplyScopeNames[] = {"Only This Item", "All the Items in the Same Menu",
                                                   "All the Items"};
inline constexpr const char* kOkText = "OK";
inline constexpr const char* kCancelText = "Cancel";
inline constexpr const char* kHelpText = "Help";

}  // namespace kestrune::texts

// Help context numbers: 0x20000 plus the dialog number for pages and dialogs.
namespace kestrune::help {

inline constexpr int kAppletSheet = 0x10076;
inline constexpr int kMenuSheet = 0x10077;
inline constexpr int kItemSheet = 0x10078;
inline constexpr int kAppletPage = 0x20067;
inline constexpr int kMenuStylePage = 0x2008D;
inline constexpr int kItemNormalPage = 0x20090;
inline constexpr int kItemPage = 0x20092;
inline constexpr int kItemMouseOverPage = 0x20093;
inline constexpr int kItemClickedPage = 0x20094;
// The dialogs are found in the help document by name.
inline constexpr const char* kFontDialog = "fontdialog";
inline constexpr const char* kImageDialog = "imagedialog";
inline constexpr const char* kAudioDialog = "audiodialog";

}  // namespace kestrune::help
