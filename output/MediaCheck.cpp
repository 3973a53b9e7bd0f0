// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/MediaCheck.h"

#include "output/OutputTexts.h"
#include "base/SafeFile.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSignatureBytes = 8;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool LinkStaysInside(const fs::path& path) {
    if (!IsLink(path)) return true;
    return LiesInside(path, path.parent_path().empty() ? fs::path(".") : path.parent_path());
}

}  // namespace

bool HasMediaExtension(std::string_view name, MediaKind kind) {
    const std::string folded = ToLowerAscii(name);
    if (kind == MediaKind::Audio) return folded.ends_with(".au") || folded.ends_with(".snd");
    for (const std::string_view ending : {".gif", ".jpg", ".jpeg", ".png"})
        if (folded.ends_with(ending)) return true;
    return false;
}

bool HasMediaSignature(std::string_view start, MediaKind kind) {
    if (kind == MediaKind::Audio) return StartsWith(start, ".snd");
    return StartsWith(start, "GIF87a") || StartsWith(start, "GIF89a") || StartsWith(start, "\xFF\xD8\xFF") ||
           StartsWith(start, "\x89PNG\r\n\x1A\n");
}

MediaProblem CheckMediaBytes(const fs::path& path, std::string_view bytes, MediaKind kind) {
    if (!LinkStaysInside(path)) return MediaProblem::LinkOutside;
    const std::string name = path.filename().string();
    if (name.starts_with('.')) return MediaProblem::ReservedName;
    if (!HasMediaExtension(name, kind) || !HasMediaSignature(bytes, kind)) return kind == MediaKind::Image ? MediaProblem::NotImage : MediaProblem::NotAudio;
    return MediaProblem::None;
}

MediaProblem CheckMediaFile(const fs::path& path, MediaKind kind) {
    if (!LinkStaysInside(path)) return MediaProblem::LinkOutside;
    std::string start;
    ReadFileStart(path, kSignatureBytes, start);
    return CheckMediaBytes(path, start, kind);
}

const char* MediaProblemEnding(MediaProblem problem) {
    switch (problem) {
        case MediaProblem::LinkOutside: return texts::kReportLinkOutside;
        case MediaProblem::NotImage: return texts::kReportNotImage;
        case MediaProblem::NotAudio: return texts::kReportNotAudio;
        case MediaProblem::NotCopied: return texts::kReportNotCopied;
        case MediaProblem::NameClash: return texts::kReportNameClash;
        case MediaProblem::ReservedName: return texts::kReportReservedName;
        case MediaProblem::ExistsOther: return texts::kReportExistsOther;
        case MediaProblem::None: break;
    }
    return texts::kReportNotExist;
}

}  // namespace kestrune
