// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "output/AuDecoder.h"
#include "preview/AudioOutput.h"
#include "preview/PreviewSoundPlayer.h"

using namespace kestrune;

namespace {

std::vector<std::uint8_t> AuFile(std::uint32_t encoding, std::uint32_t rate, std::uint32_t channels,
                                 const std::vector<std::uint8_t>& data, std::uint32_t declaredSize = 0,
                                 std::uint32_t offset = 28) {
    std::vector<std::uint8_t> bytes;
    auto put = [&bytes](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    };
    put(0x2e736e64);
    put(offset);
    put(declaredSize ? declaredSize : static_cast<std::uint32_t>(data.size()));
    put(encoding);
    put(rate);
    put(channels);
    bytes.resize(offset, 0);  // an annotation field, as many files have
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

AuDecodeResult Decode(const std::vector<std::uint8_t>& bytes) { return DecodeAu(bytes.data(), bytes.size()); }

}  // namespace

class PreviewSoundTest : public QObject {
    Q_OBJECT
private slots:
    // The program starts without the multimedia libraries and finds them in the sound
    // module beside it on the first sound.
    void soundModuleLoadsOnDemand() {
        const QString module = QCoreApplication::applicationDirPath() + QStringLiteral("/kestrune-sound.so");
        if (!QFile::exists(module)) QSKIP("built without the multimedia module");
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libQt6Multimedia"));
        std::unique_ptr<IAudioOutput> output = LoadAudioOutput();
        QVERIFY(output);
        output->Stop();
    }

    void companding() {
        // G.711 reference points: silence, the extremes and a mid code of each law.
        QCOMPARE(MuLawToLinear(0xFF), std::int16_t{0});
        QCOMPARE(MuLawToLinear(0x7F), std::int16_t{0});
        QCOMPARE(MuLawToLinear(0x00), std::int16_t{-32124});
        QCOMPARE(MuLawToLinear(0x80), std::int16_t{32124});
        QCOMPARE(MuLawToLinear(0xF0), std::int16_t{120});
        QCOMPARE(ALawToLinear(0xD5), std::int16_t{8});
        QCOMPARE(ALawToLinear(0x55), std::int16_t{-8});
        QCOMPARE(ALawToLinear(0xAA), std::int16_t{32256});
        QCOMPARE(ALawToLinear(0x2A), std::int16_t{-32256});
        // Monotonic over the positive half of mu-law.
        for (int code = 0x81; code <= 0xFF; ++code)
            QVERIFY(MuLawToLinear(static_cast<std::uint8_t>(code)) <= MuLawToLinear(static_cast<std::uint8_t>(code - 1)));
    }

    void decodesTheCommonEncodings() {
        const auto mulaw = Decode(AuFile(1, 8000, 1, {0xFF, 0x80, 0x00}));
        QVERIFY(mulaw.sound);
        QCOMPARE(mulaw.sound->sampleRate, 8000);
        QCOMPARE(mulaw.sound->samples, (std::vector<std::int16_t>{0, 32124, -32124}));

        const auto pcm16 = Decode(AuFile(3, 22050, 2, {0x12, 0x34, 0xFF, 0xFE, 0x80, 0x00, 0x7F, 0xFF}));
        QVERIFY(pcm16.sound);
        QCOMPARE(pcm16.sound->channels, 2);
        QCOMPARE(pcm16.sound->FrameCount(), std::size_t{2});
        QCOMPARE(pcm16.sound->samples, (std::vector<std::int16_t>{0x1234, -2, -32768, 32767}));

        const auto pcm8 = Decode(AuFile(2, 8000, 1, {0x7F, 0x80}));
        QCOMPARE(pcm8.sound->samples, (std::vector<std::int16_t>{0x7F00, -32768}));
        const auto alaw = Decode(AuFile(27, 8000, 1, {0xD5}));
        QCOMPARE(alaw.sound->samples, (std::vector<std::int16_t>{8}));
        const auto pcm24 = Decode(AuFile(4, 8000, 1, {0x40, 0x00, 0x01}));
        QCOMPARE(pcm24.sound->samples, (std::vector<std::int16_t>{0x4000}));
        const auto float32 = Decode(AuFile(6, 8000, 1, {0x3F, 0x00, 0x00, 0x00, 0x7F, 0xC0, 0x00, 0x00}));
        QCOMPARE(float32.sound->samples, (std::vector<std::int16_t>{16384, 0}));  // 0.5, then NaN
    }

    void sizesComeFromTheHeaderOrTheFileWhicheverIsShorter() {
        // Unknown size: to the end of the file; a cut-off frame is dropped.
        const auto unknown = Decode(AuFile(3, 8000, 1, {0, 1, 0, 2, 0}, 0xffffffffu));
        QCOMPARE(unknown.sound->samples, (std::vector<std::int16_t>{1, 2}));
        const auto shorter = Decode(AuFile(1, 8000, 1, {0xFF, 0xFF, 0xFF, 0xFF}, 2));
        QCOMPARE(shorter.sound->samples.size(), std::size_t{2});
        const auto longer = Decode(AuFile(1, 8000, 1, {0xFF, 0xFF}, 1000));
        QCOMPARE(longer.sound->samples.size(), std::size_t{2});
        const auto headerOnly = Decode(AuFile(1, 8000, 1, {}, 0xffffffffu, 24));
        QVERIFY(headerOnly.sound);
        QVERIFY(headerOnly.sound->samples.empty());
    }

    void damagedFilesAreRefused() {
        QVERIFY(!Decode({}).sound);
        QVERIFY(!DecodeAu(nullptr, 40).sound);
        auto bytes = AuFile(1, 8000, 1, {1, 2, 3});
        QVERIFY(!DecodeAu(bytes.data(), 23).sound);
        bytes[0] = 'R';
        QVERIFY(Decode(bytes).error.find("not an AU") != std::string::npos);
        QVERIFY(!Decode(AuFile(1, 8000, 0, {1})).sound);
        QVERIFY(!Decode(AuFile(1, 8000, 100000, {1})).sound);
        QVERIFY(!Decode(AuFile(1, 0, 1, {1})).sound);
        // A rate of a few samples a second would make playback conversion explode in size.
        QVERIFY(!Decode(AuFile(1, 2, 1, {1})).sound);
        QVERIFY(Decode(AuFile(23, 8000, 1, {1})).error.find("23") != std::string::npos);
        QVERIFY(!Decode(AuFile(1, 8000, 1, {1}, 0, 12)).sound);  // data inside the header
        auto past = AuFile(1, 8000, 1, {1});
        past[7] = 200;  // data offset beyond the end
        QVERIFY(!Decode(past).sound);
    }

    void conversionResamplesAndMapsChannels() {
        PcmSound mono{8000, 1, {0, 1000, 2000, 3000}};
        const PcmSound doubled = ConvertPcm(mono, 16000, 2);
        QCOMPARE(doubled.channels, 2);
        QCOMPARE(doubled.FrameCount(), std::size_t{7});
        QCOMPARE(doubled.samples[0], std::int16_t{0});
        QCOMPARE(doubled.samples[2], std::int16_t{500});  // halfway between the first two
        QCOMPARE(doubled.samples[3], std::int16_t{500});
        QCOMPARE(doubled.samples[12], std::int16_t{3000});

        PcmSound stereo{8000, 2, {100, 300, -100, -300}};
        const PcmSound down = ConvertPcm(stereo, 8000, 1);
        QCOMPARE(down.samples, (std::vector<std::int16_t>{200, -200}));
        const PcmSound halved = ConvertPcm(PcmSound{8000, 1, {0, 10, 20, 30, 40}}, 4000, 1);
        QCOMPARE(halved.samples, (std::vector<std::int16_t>{0, 20, 40}));
        QVERIFY(ConvertPcm(PcmSound{}, 8000, 1).samples.empty());
    }

    void playerIsQuietWithoutASoundAndNeverFails() {
        QTemporaryDir folder;
        const QString good = folder.filePath("beep.au");
        const QString bad = folder.filePath("bad.au");
        {
            std::vector<std::uint8_t> beep = AuFile(1, 8000, 1, std::vector<std::uint8_t>(800, 0x80));
            QFile file(good);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(reinterpret_cast<const char*>(beep.data()), static_cast<qint64>(beep.size()));
            QFile broken(bad);
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write("not a sound at all, just text");
        }
        CPreviewSoundPlayer player;
        QVERIFY(!player.Play(QString()));
        QVERIFY(!player.Play(folder.filePath("missing.au")));
        QVERIFY(!player.Play(bad));
        QVERIFY(player.Decoded(good));
        QCOMPARE(player.Decoded(good)->samples.size(), std::size_t{800});
        QVERIFY(!player.Decoded(bad));
        player.Play(good);  // plays where there is an output; either way it returns
        player.Stop();
        player.SetEnabled(false);
        QVERIFY(!player.Play(good));
    }
};

QTEST_MAIN(PreviewSoundTest)
#include "tst_previewsound.moc"
