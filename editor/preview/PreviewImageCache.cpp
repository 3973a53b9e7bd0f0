// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewImageCache.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "base/SafeFile.h"

namespace {
// Larger pictures are not menu art; refusing them keeps a stray file from eating memory.
constexpr int kMaxImageSide = 8192;
// Read whole, but never more: a path naming a device or a growing file stops here.
constexpr std::size_t kMaxImageFileBytes = std::size_t{32} << 20;

QImage ReadImage(const std::string& path) {
    std::string bytes;
    // Regular files only, opened without waiting: a pipe named as an image cannot hang us.
    if (kestrune::ReadRegularFile(path, kMaxImageFileBytes, bytes) != kestrune::FileCheck::Ok) return {};
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.width() > kMaxImageSide || size.height() > kMaxImageSide) return {};
    QImage image = reader.read();
    image.detach();  // the bytes go when this returns
    return image;
}
}  // namespace

const QImage& CPreviewImageCache::Image(const std::string& path) {
    static const QImage kNone;
    if (path.empty()) return kNone;
    auto found = m_images.find(path);
    if (found == m_images.end()) found = m_images.emplace(path, ReadImage(path)).first;
    return found->second;
}
