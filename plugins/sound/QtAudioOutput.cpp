// SPDX-License-Identifier: GPL-3.0-or-later
// The audio output module: the only part of the program that links the multimedia
// libraries, loaded when the preview plays its first sound.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <memory>

#include "preview/AudioOutput.h"

namespace {

class QtAudioOutput final : public IAudioOutput {
public:
    ~QtAudioOutput() override { Stop(); }

    bool HasDevice() override { return !Device().isNull(); }

    bool Supports(int sampleRate, int channels) override { return Device().isFormatSupported(Format(sampleRate, channels)); }

    void PreferredFormat(int& sampleRate, int& channels) override {
        const QAudioFormat preferred = Device().preferredFormat();
        sampleRate = preferred.sampleRate();
        channels = preferred.channelCount();
    }

    bool Start(const QByteArray& samples, int sampleRate, int channels) override {
        Stop();
        m_bytes = samples;
        m_buffer.setData(m_bytes);
        if (!m_buffer.open(QIODevice::ReadOnly)) return false;
        m_sink = std::make_unique<QAudioSink>(Device(), Format(sampleRate, channels));
        m_sink->start(&m_buffer);
        return m_sink->error() == QAudio::NoError;
    }

    void Stop() override {
        if (m_sink) m_sink->stop();
        m_sink.reset();
        m_buffer.close();
    }

private:
    static QAudioDevice Device() { return QMediaDevices::defaultAudioOutput(); }
    static QAudioFormat Format(int sampleRate, int channels) {
        QAudioFormat format;
        format.setSampleFormat(QAudioFormat::Int16);
        format.setSampleRate(sampleRate);
        format.setChannelCount(channels);
        return format;
    }

    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

}  // namespace

extern "C" Q_DECL_EXPORT IAudioOutput* kestrune_create_audio_output() { return new QtAudioOutput; }
