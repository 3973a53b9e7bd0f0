// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ModelTexts.h"

// Names, keys and messages of the menu files and the template store, defined once.
namespace kestrune::texts {

// Menu and template files.
inline constexpr const char* kDocumentSection = "Vorane2.0";
inline constexpr const char* kNoticeValue = "Vorane2.0";
inline constexpr const char* kKeyApStyle = "ApStyle";
inline constexpr const char* kKeyNotice = "Notice";
inline constexpr const char* kKeyMisc = "Misc";
inline constexpr const char* kKeyMStylePrefix = "MStyle-";
inline constexpr const char* kKeyIStylePrefix = "IStyle-";
inline constexpr const char* kKeyItemPrefix = "I";
inline constexpr const char* kMenuFileExtension = ".kst";
inline constexpr const char* kDefaultApStyle = "My Vorane,0,400,200,0,,";

// Files beside the program.
inline constexpr const char* kTemplateFileName = "Kestrune.tpl";
inline constexpr const char* kSamplePage = "Sample/Samples.html";

// The template list in the settings store.
inline constexpr const char* kTemplateSection = "TEMPLATE";
inline constexpr const char* kTemplateKey = "TemplateKey";
inline constexpr const char* kTemplateListDefault = "Normal";
inline constexpr const char* kBuiltInTemplateList =
    "Normal,Group Buttons,Sensitive Button,Image Map,Hot Spot,ToolBar,CoolBar,Horizontal Menu,"
    "Vertical Menu,Vertical Menu2,Standard Window Menu,Hot Spot Menu,Multi-level Menu,";
inline constexpr int kBuiltInTemplateCount = 13;

// Messages.
inline constexpr const char* kSaveFailed = "Save as file failed!";
inline constexpr const char* kNotSavedByKestrune = "This File is not saved by Kestrune!\nSystem can't open it.";
inline constexpr const char* kMenuFileLookedFor = "Its menu file \"%1\" is not in the same folder.";
inline constexpr const char* kCannotOpenFile = "Cannot open the file \"%1\".";
inline constexpr const char* kCannotReadMenuFile = "The menu file \"%1\" cannot be read.";
inline constexpr const char* kNoMenuInFile =
    "The file \"%1\" holds text but no menu that Kestrune can read; it is not opened.";
inline constexpr const char* kMenusTooDeep =
    "The menu file nests sub menus more than %1 levels deep; the deeper ones are left out.";
inline constexpr const char* kTooManyMenuObjects =
    "The menu file \"%1\" asks for more than 8,000,000 menus and items, more than Kestrune can hold in "
    "memory; it is not read.";
inline constexpr const char* kItemsLeftOut =
    "%1 items of the menu file are left out: the file's size or its menu relations do not admit them.";
inline constexpr const char* kMenusLeftOut =
    "%1 menus of the menu file are left out: the file names them but gives them no line of their own.";
// Not shown: the user who cancelled knows; callers tell it from other failures by this text.
inline constexpr const char* kLoadCancelled = "The reading was cancelled.";
inline constexpr const char* kTemplateMissing = "The template file has no template \"%1\".";
inline constexpr const char* kOutOfMemoryReading = "There is not enough memory to read \"%1\".";
inline constexpr const char* kSaveOverMedia =
    "\"%1\" is one of the document's own media files; saving there would destroy it.";
inline constexpr const char* kPageIsMenuFile =
    "The page file cannot have the menu file's extension \".kst\": the menu file would replace it.";
inline constexpr const char* kUserFolderNotOwn =
    "\"%1\" is not your own or may be written by others; Kestrune does not use it and reads its shipped "
    "templates instead.";
inline constexpr const char* kOpenTemplateFailed = "Open template failure!";
inline constexpr const char* kSaveTemplateFailed = "Save template failure!";
inline constexpr const char* kTemplateNameEmpty = "The template name must not be null!";
inline constexpr const char* kTemplateNameExists = "the template has already existed!Please change a name.";
inline constexpr const char* kTemplateRenameInvalid = "Please give a new name for the template!";
inline constexpr const char* kSelectTemplateFirst = "Please select a template first!";
inline constexpr const char* kTemplateNameBadCharacter =
    "A template name cannot contain \",\", \"[\", \"]\" or a line break.";

}  // namespace kestrune::texts
