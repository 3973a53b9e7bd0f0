#include "preview/PreviewSoundPlayer.h"

#include "base/SafeFile.h"

#ifdef KESTRUNE_HAVE_MULTIMEDIA
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#endif

using namespace kestrune;

namespace {
constexpr std::size_t kMaxSoundFileBytes = std::size_t{32} << 20;
constexpr int kMaxCachedSounds = 64;
}  // namespace

#ifdef KESTRUNE_HAVE_MULTIMEDIA
struct CPreviewSoundPlayer::Output {
    QByteArray bytes;
    QBuffer buffer;
    std::unique_ptr<QAudioSink> sink;

    void Stop() {
        if (sink) sink->stop();
        sink.reset();
        buffer.close();
    }

    bool Start(const PcmSound& decoded) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return false;
        QAudioFormat format;
        format.setSampleFormat(QAudioFormat::Int16);
        format.setSampleRate(decoded.sampleRate);
        format.setChannelCount(decoded.channels);
        const PcmSound* sound = &decoded;
        PcmSound converted;
        if (!device.isFormatSupported(format)) {
            const QAudioFormat preferred = device.preferredFormat();
            format.setSampleRate(preferred.sampleRate());
            format.setChannelCount(preferred.channelCount());
            if (!device.isFormatSupported(format)) return false;
            converted = ConvertPcm(decoded, format.sampleRate(), format.channelCount());
            sound = &converted;
        }
        Stop();
        bytes = QByteArray(reinterpret_cast<const char*>(sound->samples.data()),
                           static_cast<qsizetype>(sound->samples.size() * sizeof(std::int16_t)));
        buffer.setData(bytes);
        if (!buffer.open(QIODevice::ReadOnly)) return false;
        sink = std::make_unique<QAudioSink>(device, format);
        sink->start(&buffer);
        return sink->error() == QAudio::NoError;
    }
};
#else
struct CPreviewSoundPlayer::Output {
    void Stop() {}
    bool Start(const PcmSound&) { return false; }
};
#endif

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
