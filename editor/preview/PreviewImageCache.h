// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <string>
#include <unordered_map>

// Images of the preview by stored path, each read from disk once. Missing or unreadable
// files give a null image, as the applet shows nothing for them.
class CPreviewImageCache {
public:
    const QImage& Image(const std::string& path);
    void Clear() { m_images.clear(); }

private:
    std::unordered_map<std::string, QImage> m_images;
};
