// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/AudioOutput.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace {

// Beside the program in the build tree, under lib/kestrune when installed.
QStringList ModuleCandidates() {
    const QString programDir = QCoreApplication::applicationDirPath();
    return {programDir + QStringLiteral("/kestrune-sound.so"),
            programDir + QStringLiteral("/../lib/kestrune/kestrune-sound.so")};
}

}  // namespace

std::unique_ptr<IAudioOutput> LoadAudioOutput() {
    using Factory = IAudioOutput* (*)();
    for (const QString& candidate : ModuleCandidates()) {
        // The library stays loaded for the rest of the run: outputs made by it may live that long.
        QLibrary module(candidate);
        if (!module.load()) continue;
        if (const auto create = reinterpret_cast<Factory>(module.resolve(kAudioOutputFactory)))
            return std::unique_ptr<IAudioOutput>(create());
    }
    return nullptr;
}
