#include "preview/PreviewImageCache.h"

#include <QImageReader>
#include <QString>

namespace {
// Larger pictures are not menu art; refusing them keeps a stray file from eating memory.
constexpr int kMaxImageSide = 8192;
}  // namespace

const QImage& CPreviewImageCache::Image(const std::string& path) {
    static const QImage kNone;
    if (path.empty()) return kNone;
    auto found = m_images.find(path);
    if (found == m_images.end()) {
        QImageReader reader(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
        const QSize size = reader.size();
        QImage image;
        if (size.width() <= kMaxImageSide && size.height() <= kMaxImageSide) image = reader.read();
        found = m_images.emplace(path, std::move(image)).first;
    }
    return found->second;
}
