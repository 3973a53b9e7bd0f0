// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/MenuViewerChoice.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/ProgramLauncher.h"
#include "preview/MenuPreviewWindow.h"
#include "preview/PreviewSource.h"
#include "preview/PreviewTexts.h"

namespace menuviewer {

namespace {
std::string OwnProgram() { return QCoreApplication::applicationFilePath().toLocal8Bit().toStdString(); }
}  // namespace

kestrune::KnownBrowser BrowserEntry() { return {OwnProgram(), previewtexts::kBrowserChoiceName}; }

bool IsForViewer(const kestrune::LaunchRequest& request) {
    return request.kind == kestrune::LaunchRequest::StartProgram && !request.target.empty() &&
           request.target == OwnProgram();
}

bool Launch(IProgramLauncher& launcher, const kestrune::LaunchRequest& request) {
    if (!IsForViewer(request)) return launcher.Launch(request);
    const QString page = QString::fromLocal8Bit(request.argument.data(), static_cast<qsizetype>(request.argument.size()));
    kestrune::AppletReadResult read = ReadPageForPreview(page);
    if (!read.Ok()) return launcher.OpenDocument(page);
    auto* window = new CMenuPreviewWindow(std::move(read), QFileInfo(page).fileName());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    return true;
}

}  // namespace menuviewer
