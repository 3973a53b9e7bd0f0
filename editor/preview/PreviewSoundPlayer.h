// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

#include "output/AuDecoder.h"

using kestrune::PcmSound;

// Plays the AU sounds of the preview where the machine has an audio output; without one
// (or without the multimedia module at build time) every request is a quiet no-op.
class CPreviewSoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit CPreviewSoundPlayer(QObject* parent = nullptr);
    ~CPreviewSoundPlayer() override;

    void SetEnabled(bool enabled);

    // Starts the sound of an AU file, stopping the one playing. False when sounds are off,
    // the file is missing or damaged, or there is nothing to play it on.
    bool Play(const QString& path);
    void Stop();
    // Decoded sounds are kept by path; forget them when the files may have changed.
    void ClearCache() { m_cache.clear(); }

    // The decoded file, or null (unreadable, too large or not an AU sound).
    std::shared_ptr<const PcmSound> Decoded(const QString& path);

private:
    struct Output;
    bool m_enabled = true;
    QHash<QString, std::shared_ptr<const PcmSound>> m_cache;
    std::unique_ptr<Output> m_output;
};
