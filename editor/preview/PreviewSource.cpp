// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewSource.h"

#include <QFile>
#include <QFileInfo>

#include "output/OwnPageReader.h"
#include "base/SafeFile.h"
#include "preview/PreviewTexts.h"
#include "app/TextConvert.h"

using namespace kestrune;

namespace {
// Page files are untrusted: a cap keeps a huge one from taking all memory. The model's
// own page has none (ReadOwnPage).
constexpr std::size_t kMaxPageBytes = std::size_t{64} << 20;
}  // namespace

AppletReadResult AppletAsReceived(const CAppletParameters& model) { return ReadOwnPage(model); }

AppletReadResult ReadPageForPreview(const QString& pagePath) {
    std::string text;
    // A regular file only, opened without waiting, read in chunks up to the cap.
    if (ReadRegularFile(pagePath.toLocal8Bit().toStdString(), kMaxPageBytes, text) != FileCheck::Ok) {
        AppletReadResult failed;
        failed.error = convert::FromQt(QString::fromLatin1(previewtexts::kCannotOpenPage).arg(pagePath));
        return failed;
    }
    ParameterReadOptions options;
    options.resolveMedia = MediaInFolder(QFileInfo(pagePath).absolutePath().toLocal8Bit().toStdString());
    return ReadAppletParameters(text, options);
}
