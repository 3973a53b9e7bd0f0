// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrune {

enum class MediaKind { Image, Audio };

// Why a found media file is not used; None when it is fit.
enum class MediaProblem { None, LinkOutside, NotImage, NotAudio, NotCopied, NameClash, ReservedName, ExistsOther };

// Whether bytes start like a media file of the kind: GIF, JPEG or PNG images, AU sounds.
bool HasMediaSignature(std::string_view start, MediaKind kind);

// Whether a file name ends in an extension of the kind, in any letter case: ".gif",
// ".jpg", ".jpeg", ".png" for images, ".au", ".snd" for sounds. A web server serves a
// file by its name, so bytes that merely start like a picture under the name "x.html"
// or "kestrune-menu.js" would be published as a page or a script.
bool HasMediaExtension(std::string_view name, MediaKind kind);

// A found file may be used as media when it is a regular file, a link only when it leads
// to a file inside the folder the link sits in, its name has the kind's extension and does
// not start with "." (a hidden file such as ".htaccess" configures the web server), and
// its first bytes carry the kind's signature. A document from a stranger can thus not make a save publish a secret.
MediaProblem CheckMediaFile(const std::filesystem::path& path, MediaKind kind);

// The same for bytes already read from path (the check of what is then copied).
MediaProblem CheckMediaBytes(const std::filesystem::path& path, std::string_view bytes, MediaKind kind);

// The report line ending that names the problem.
const char* MediaProblemEnding(MediaProblem problem);

}  // namespace kestrune
