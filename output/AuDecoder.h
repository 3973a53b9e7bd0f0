// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

// Sound as the preview plays it: signed 16-bit samples, channels interleaved.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;

    std::size_t FrameCount() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

struct AuDecodeResult {
    std::optional<PcmSound> sound;
    std::string error;  // set when sound is empty
};

// Decodes a Sun/NeXT ".snd" (AU) file: 8-bit mu-law and A-law, 8/16/24/32-bit linear
// PCM, 32/64-bit float, at 1,000 to 768,000 samples a second. Damaged files give an
// error, never a crash.
AuDecodeResult DecodeAu(const std::uint8_t* data, std::size_t size);

std::int16_t MuLawToLinear(std::uint8_t code);
std::int16_t ALawToLinear(std::uint8_t code);

// The same sound at another rate and channel count (linear interpolation; mono is
// copied to every channel, more channels are averaged down), for outputs that cannot
// take the file's own format; at most ten minutes of 48 kHz stereo are made.
PcmSound ConvertPcm(const PcmSound& sound, int sampleRate, int channels);

}  // namespace kestrune
