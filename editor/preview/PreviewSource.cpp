// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewSource.h"

#include <QFile>
#include <QFileInfo>

#include "output/OwnPageReader.h"
#include "base/SafeFile.h"
#include "preview/PreviewTexts.h"
#include "app/TextConvert.h"

using namespace kestrune;

AppletReadResult AppletAsReceived(const CAppletParameters& model) { return ReadOwnPage(model); }

AppletReadResult ReadPageForPreview(const QString& pagePath) {
    std::string text;
    // A regular file only, opened without waiting, read in chunks up to the page cap.
    if (ReadRegularFile(pagePath.toLocal8Bit().toStdString(), kMaxPageBytes, text) != FileCheck::Ok) {
        AppletReadResult failed;
        failed.error = convert::FromQt(QString::fromLatin1(previewtexts::kCannotOpenPage).arg(pagePath));
        return failed;
    }
    ParameterReadOptions options;
    options.resolveMedia = MediaInFolder(QFileInfo(pagePath).absolutePath().toLocal8Bit().toStdString());
    return ReadAppletParameters(text, options);
}
