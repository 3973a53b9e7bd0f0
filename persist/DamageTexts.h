// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program says of a damaged menu file and of the originals a save keeps.
namespace kestrune::texts {

inline constexpr const char* kMenuFileDamaged =
    "The menu file \"%1\" is damaged: it holds menus or items that its relations (\"Misc\") do not reach, as a "
    "file cut short does. The %2 items it holds are recovered in the order of the file; what it lost is not. The "
    "next save keeps the damaged files beside the new ones (\".damaged\").";
inline constexpr const char* kMenuFileLostMenus =
    "The menu file \"%1\" holds no item, but the page beside it names menus: the menu file is damaged. The next "
    "save keeps the damaged files beside the new ones (\".damaged\").";
inline constexpr const char* kDamagedFileKept = "\"%1\" was read damaged; its original is kept as \"%2\".\n";
inline constexpr const char* kCannotKeepDamaged =
    "\"%1\" was read damaged and its original cannot be kept beside it; it is not replaced.";
inline constexpr const char* kDamagedSuffix = ".damaged";

}  // namespace kestrune::texts
