// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/MenuViewerCommand.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

#include "app/DisplayCheck.h"
#include "app/ShellTexts.h"
#include "preview/MenuPreviewWindow.h"
#include "preview/PreviewSource.h"
#include "preview/PreviewTexts.h"

namespace {
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
}  // namespace

std::optional<int> RunMenuViewer(int argc, char** argv) {
    int at = 1;
    if (at < argc && std::strcmp(argv[at], previewtexts::kAppDirOption) == 0) at += 2;
    if (at >= argc || std::strcmp(argv[at], previewtexts::kViewOption) != 0) return std::nullopt;
    if (at + 2 != argc) {
        std::fprintf(stderr, "%s\n", previewtexts::kViewUsage);
        return kExitUsage;
    }
    if (!HasDisplayFor(argc, argv)) {
        std::fprintf(stderr, "%s\n", shelltexts::kNoDisplay);
        return kExitError;
    }
    QApplication application(argc, argv);
    const QString page = QString::fromLocal8Bit(argv[at + 1]);
    kestrune::AppletReadResult read = ReadPageForPreview(page);
    if (!read.Ok()) {
        std::fprintf(stderr, "%s\n", read.error.c_str());
        return kExitError;
    }
    CMenuPreviewWindow window(std::move(read), QFileInfo(page).fileName());
    window.show();
    return application.exec();
}
