// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewSoundPlayer.h"

#include "base/SafeFile.h"

#include "preview/AudioOutput.h"

using namespace kestrune;

namespace {
constexpr std::size_t kMaxSoundFileBytes = std::size_t{32} << 20;
constexpr int kMaxCachedSounds = 64;
}  // namespace

// The module is loaded on the first sound; a machine without it or without an audio
// output plays nothing.
struct CPreviewSoundPlayer::Output {
    bool loaded = false;
    std::unique_ptr<IAudioOutput> device;

    void Stop() {
        if (device) device->Stop();
    }

    bool Start(const PcmSound& decoded) {
        if (!loaded) {
            loaded = true;
            device = LoadAudioOutput();
        }
        if (!device || !device->HasDevice()) return false;
        const PcmSound* sound = &decoded;
        PcmSound converted;
        if (!device->Supports(decoded.sampleRate, decoded.channels)) {
            int rate = 0;
            int channels = 0;
            device->PreferredFormat(rate, channels);
            if (!device->Supports(rate, channels)) return false;
            converted = ConvertPcm(decoded, rate, channels);
            sound = &converted;
        }
        const QByteArray bytes(reinterpret_cast<const char*>(sound->samples.data()),
                               static_cast<qsizetype>(sound->samples.size() * sizeof(std::int16_t)));
        return device->Start(bytes, sound->sampleRate, sound->channels);
    }
};

CPreviewSoundPlayer::CPreviewSoundPlayer(QObject* parent)
    : QObject(parent), m_output(std::make_unique<Output>()) {}

CPreviewSoundPlayer::~CPreviewSoundPlayer() { m_output->Stop(); }

void CPreviewSoundPlayer::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled) Stop();
}

bool CPreviewSoundPlayer::Play(const QString& path) {
    if (!m_enabled || path.isEmpty()) return false;
    const auto sound = Decoded(path);
    if (!sound || sound->samples.empty()) return false;
    return m_output->Start(*sound);
}

void CPreviewSoundPlayer::Stop() { m_output->Stop(); }

std::shared_ptr<const PcmSound> CPreviewSoundPlayer::Decoded(const QString& path) {
    if (const auto cached = m_cache.constFind(path); cached != m_cache.constEnd()) return *cached;
    std::shared_ptr<const PcmSound> sound;
    std::string bytes;
    // Regular files only, opened without waiting and read no further than the cap.
    if (ReadRegularFile(path.toLocal8Bit().toStdString(), kMaxSoundFileBytes, bytes) == FileCheck::Ok) {
        AuDecodeResult decoded = DecodeAu(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        if (decoded.sound) sound = std::make_shared<const PcmSound>(std::move(*decoded.sound));
    }
    if (m_cache.size() >= kMaxCachedSounds) m_cache.clear();
    m_cache.insert(path, sound);
    return sound;
}
