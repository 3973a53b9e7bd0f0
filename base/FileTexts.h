// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Messages of the file helpers: refused or failed reads and writes, defined once.
namespace kestrune::texts {

inline constexpr const char* kFileTooLarge =
    "The file \"%1\" is larger than 1 GB, more than any menu or template file holds; it is not read.";
inline constexpr const char* kFileNotRegular = "\"%1\" is not a regular file (a folder, device or pipe); it is not read.";
inline constexpr const char* kCannotReadFile = "The file \"%1\" cannot be read.";
inline constexpr const char* kNotAFileName = "\"%1\" does not name a file.";
inline constexpr const char* kCannotWriteFile = "The file \"%1\" cannot be written.";
inline constexpr const char* kNotRegularDestination =
    "\"%1\" is not a regular file (a folder, device or pipe); it is not replaced.";
inline constexpr const char* kLinkLeadsOutside =
    "\"%1\" is a link that does not name a regular file in its own folder; nothing is written through it.";

inline constexpr const char* kFolderBusy =
    "Another save is writing into the folder \"%1\"; try again when it has finished.";
inline constexpr const char* kFileReadOnly = "The file \"%1\" is read-only; it is not replaced.";
inline constexpr const char* kRuntimeMissing =
    "The script runtime \"%1\" cannot be read; the page would show no menus.";

inline constexpr const char* kTooManyLines =
    "The file \"%1\" holds more lines than a menu or template file of its size can; it is not read.";
inline constexpr const char* kSettingsFileUnusable =
    "The settings file \"%1\" is not a regular file; this run keeps its settings in memory only.";

}  // namespace kestrune::texts
