// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/AuDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kestrune {

namespace {

constexpr std::uint32_t kAuMagic = 0x2e736e64;  // ".snd"
constexpr std::uint32_t kUnknownSize = 0xffffffffu;
constexpr std::size_t kHeaderSize = 24;
constexpr int kMaxChannels = 16;
constexpr int kMaxSampleRate = 768000;
// Real sounds run at thousands of samples a second; a rate of a few would make the
// conversion to an output's rate multiply the samples beyond any memory.
constexpr int kMinSampleRate = 1000;
// The conversion stops after ten minutes of 48 kHz stereo: no menu sound is longer.
constexpr std::size_t kMaxConvertedSamples = std::size_t{48000} * 2 * 600;

enum AuEncoding : std::uint32_t {
    kMuLaw8 = 1,
    kLinear8 = 2,
    kLinear16 = 3,
    kLinear24 = 4,
    kLinear32 = 5,
    kFloat32 = 6,
    kFloat64 = 7,
    kALaw8 = 27,
};

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::int16_t ClampSample(double value) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

int BytesPerSample(std::uint32_t encoding) {
    switch (encoding) {
    case kMuLaw8:
    case kALaw8:
    case kLinear8: return 1;
    case kLinear16: return 2;
    case kLinear24: return 3;
    case kLinear32:
    case kFloat32: return 4;
    case kFloat64: return 8;
    default: return 0;
    }
}

std::int16_t DecodeSample(std::uint32_t encoding, const std::uint8_t* p) {
    switch (encoding) {
    case kMuLaw8: return MuLawToLinear(p[0]);
    case kALaw8: return ALawToLinear(p[0]);
    case kLinear8: return static_cast<std::int16_t>(static_cast<std::int8_t>(p[0]) * 256);
    case kLinear16:
    case kLinear24:
    case kLinear32: return static_cast<std::int16_t>((p[0] << 8) | p[1]);  // the top 16 bits
    case kFloat32: {
        const std::uint32_t bits = BigEndian32(p);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? ClampSample(value * 32767.0) : 0;
    }
    case kFloat64: {
        const std::uint64_t bits = (std::uint64_t{BigEndian32(p)} << 32) | BigEndian32(p + 4);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? ClampSample(value * 32767.0) : 0;
    }
    default: return 0;
    }
}

AuDecodeResult Failure(std::string text) { return {std::nullopt, std::move(text)}; }

}  // namespace

std::int16_t MuLawToLinear(std::uint8_t code) {
    const int u = ~code & 0xFF;
    int magnitude = ((u & 0x0F) << 3) + 0x84;
    magnitude <<= (u & 0x70) >> 4;
    return static_cast<std::int16_t>((u & 0x80) ? (0x84 - magnitude) : (magnitude - 0x84));
}

std::int16_t ALawToLinear(std::uint8_t code) {
    const int a = code ^ 0x55;
    int magnitude = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    if (segment == 0)
        magnitude += 8;
    else
        magnitude = (magnitude + 0x108) << (segment - 1);
    return static_cast<std::int16_t>((a & 0x80) ? magnitude : -magnitude);
}

AuDecodeResult DecodeAu(const std::uint8_t* data, std::size_t size) {
    if (!data || size < kHeaderSize) return Failure("The file is too short for a sound header.");
    if (BigEndian32(data) != kAuMagic) return Failure("The file is not an AU sound.");
    const std::uint32_t offset = BigEndian32(data + 4);
    const std::uint32_t declaredSize = BigEndian32(data + 8);
    const std::uint32_t encoding = BigEndian32(data + 12);
    const std::uint32_t rate = BigEndian32(data + 16);
    const std::uint32_t channels = BigEndian32(data + 20);
    if (offset < kHeaderSize || offset > size) return Failure("The sound data lies outside the file.");
    if (channels < 1 || channels > kMaxChannels) return Failure("The sound has an unusable channel count.");
    if (rate < kMinSampleRate || rate > kMaxSampleRate) return Failure("The sound has an unusable sample rate.");
    const int width = BytesPerSample(encoding);
    if (width == 0) return Failure("The sound's encoding " + std::to_string(encoding) + " is not supported.");

    std::size_t available = size - offset;
    if (declaredSize != kUnknownSize) available = std::min<std::size_t>(available, declaredSize);
    const std::size_t frameBytes = static_cast<std::size_t>(width) * channels;
    const std::size_t frames = available / frameBytes;  // a cut-off last frame is dropped

    PcmSound sound;
    sound.sampleRate = static_cast<int>(rate);
    sound.channels = static_cast<int>(channels);
    sound.samples.resize(frames * channels);
    const std::uint8_t* p = data + offset;
    for (std::size_t i = 0; i < sound.samples.size(); ++i, p += width) sound.samples[i] = DecodeSample(encoding, p);
    return {std::move(sound), {}};
}

PcmSound ConvertPcm(const PcmSound& sound, int sampleRate, int channels) {
    PcmSound result;
    result.sampleRate = sampleRate;
    result.channels = channels;
    const std::size_t inFrames = sound.FrameCount();
    if (inFrames == 0 || sampleRate <= 0 || channels <= 0 || sound.sampleRate <= 0) return result;
    const double step = static_cast<double>(sound.sampleRate) / sampleRate;
    const auto outFrames = std::min(static_cast<std::size_t>(std::floor((inFrames - 1) / step)) + 1,
                                    kMaxConvertedSamples / static_cast<std::size_t>(channels));
    result.samples.reserve(outFrames * static_cast<std::size_t>(channels));
    const auto inChannels = static_cast<std::size_t>(sound.channels);
    auto mixed = [&](std::size_t frame, int channel) -> double {
        const std::int16_t* f = &sound.samples[frame * inChannels];
        if (sound.channels == channels) return f[channel];
        if (sound.channels == 1) return f[0];
        double sum = 0;
        for (std::size_t c = 0; c < inChannels; ++c) sum += f[c];
        return sum / static_cast<double>(inChannels);
    };
    for (std::size_t out = 0; out < outFrames; ++out) {
        const double position = static_cast<double>(out) * step;
        const auto frame = std::min(static_cast<std::size_t>(position), inFrames - 1);
        const std::size_t next = std::min(frame + 1, inFrames - 1);
        const double t = position - static_cast<double>(frame);
        for (int c = 0; c < channels; ++c)
            result.samples.push_back(ClampSample(mixed(frame, c) * (1.0 - t) + mixed(next, c) * t));
    }
    return result;
}

}  // namespace kestrune
