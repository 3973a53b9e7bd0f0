// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The properties the page and sound fuzz targets check, shared with the regression test
// that replays what the fuzzers found. Each returns false when a property does not hold;
// crashes, leaks and undefined behaviour are the sanitizers' to find.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "output/AuDecoder.h"
#include "output/ParameterReader.h"

namespace kestrune::fuzz {

// Any text read as a page gives an applet or an error, never both and never neither,
// and the warnings stay a short list.
inline bool PageParametersHold(std::string_view text) {
    const AppletReadResult result = ReadAppletParameters(text);
    if (result.Ok() == !result.error.empty()) return false;
    return result.warnings.size() <= 101;
}

// Any bytes decode to a sound or an error; a sound has whole frames, usable rates and
// channels, and no more samples than the file has bytes (no amplification).
inline bool AuDecodingHolds(const std::uint8_t* data, std::size_t size) {
    const AuDecodeResult decoded = DecodeAu(data, size);
    if (!decoded.sound) return !decoded.error.empty();
    const PcmSound& sound = *decoded.sound;
    if (sound.channels < 1 || sound.sampleRate < 1) return false;
    if (sound.samples.size() % static_cast<std::size_t>(sound.channels) != 0) return false;
    if (sound.samples.size() > size) return false;
    // Resampling to an output's format stays within its own bound as well.
    if (sound.samples.size() <= 4096) {
        const PcmSound converted = ConvertPcm(sound, 44100, 2);
        const double ratio = 44100.0 / sound.sampleRate;
        if (converted.samples.size() > (sound.FrameCount() * ratio + 2) * 2) return false;
    }
    return true;
}

}  // namespace kestrune::fuzz
