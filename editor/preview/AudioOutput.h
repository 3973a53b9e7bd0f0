// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <memory>

// The sound card, as the preview needs it. It lives in a module loaded on the first
// sound, so the multimedia libraries cost start-up nothing.
class IAudioOutput {
public:
    virtual ~IAudioOutput() = default;
    // False when the machine has no audio output.
    virtual bool HasDevice() = 0;
    virtual bool Supports(int sampleRate, int channels) = 0;
    virtual void PreferredFormat(int& sampleRate, int& channels) = 0;
    // Plays 16-bit samples, stopping what was playing.
    virtual bool Start(const QByteArray& samples, int sampleRate, int channels) = 0;
    virtual void Stop() = 0;
};

// The name of the module's one entry point: IAudioOutput* (*)().
inline constexpr const char* kAudioOutputFactory = "kestrune_create_audio_output";

// The module's output, or null when the module is missing or cannot be loaded.
std::unique_ptr<IAudioOutput> LoadAudioOutput();
