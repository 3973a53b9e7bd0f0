// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "services/PreviewLaunch.h"

namespace {
QString FromBytes(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

bool IProgramLauncher::Launch(const kestrune::LaunchRequest& request) {
    if (request.kind == kestrune::LaunchRequest::OpenDocument) return OpenDocument(FromBytes(request.target));
    return StartProgram(FromBytes(request.target), FromBytes(request.argument), FromBytes(request.workingFolder));
}

bool DesktopProgramLauncher::OpenDocument(const QString& path) {
    m_lastError.clear();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopProgramLauncher::StartProgram(const QString& program, const QString& argument,
                                          const QString& workingFolder) {
    QProcess process;
    process.setProgram(program);
    process.setArguments({argument});
    process.setWorkingDirectory(workingFolder);
    m_lastError.clear();
    if (process.startDetached()) return true;
    m_lastError = process.errorString();
    return false;
}
