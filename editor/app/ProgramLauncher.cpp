// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramLauncher.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "app/ShellTexts.h"
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

namespace {
constexpr int kWatchStep = 100;
constexpr qint64 kErrorOutputShown = 2000;  // the end of a long error output

// Runs "$@" and writes its exit code into the file named first.
constexpr const char* kNoteExitCode = R"(note=$1; shift; "$@"; echo $? > "$note")";

QString EndOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    if (file.size() > kErrorOutputShown) file.seek(file.size() - kErrorOutputShown);
    return QString::fromLocal8Bit(file.readAll()).trimmed();
}
}  // namespace

DesktopProgramLauncher::DesktopProgramLauncher() = default;
DesktopProgramLauncher::~DesktopProgramLauncher() = default;

bool DesktopProgramLauncher::OpenDocument(const QString& path) {
    m_lastError.clear();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopProgramLauncher::StartProgram(const QString& program, const QString& argument,
                                          const QString& workingFolder) {
    m_lastError.clear();
    // The shell would start and then fail: a missing program is said at once.
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        m_lastError = shelltexts::kProgramNotFound;
        return false;
    }
    if (!m_notes) m_notes = std::make_unique<QTemporaryDir>();
    const QString serial = QString::number(++m_started);
    const QString statusFile = m_notes->filePath(QStringLiteral("exit-") + serial);
    const QString errorFile = m_notes->filePath(QStringLiteral("errors-") + serial);
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({QStringLiteral("-c"), QString::fromLatin1(kNoteExitCode), QStringLiteral("kestrune"),
                          statusFile, program, argument});
    process.setWorkingDirectory(workingFolder);
    process.setStandardOutputFile(QProcess::nullDevice());
    if (m_notes->isValid()) process.setStandardErrorFile(errorFile);
    if (!process.startDetached()) {
        m_lastError = process.errorString();
        return false;
    }
    if (m_notes->isValid()) Watch(program, statusFile, errorFile, 0);
    return true;
}

void DesktopProgramLauncher::Watch(const QString& program, const QString& statusFile, const QString& errorFile,
                                   int waited) {
    QFile status(statusFile);
    const QByteArray code = status.open(QIODevice::ReadOnly) ? status.readAll().trimmed() : QByteArray();
    if (!code.isEmpty()) {
        if (code != "0" && onEarlyFailure) {
            const QString errors = EndOfFile(errorFile);
            onEarlyFailure(program, errors.isEmpty() ? shelltexts::kExitCode.arg(QString::fromLatin1(code)) : errors);
        }
        return;
    }
    if (waited >= kWatchMilliseconds) return;
    QTimer::singleShot(kWatchStep, &m_timers,
                       [=, this] { Watch(program, statusFile, errorFile, waited + kWatchStep); });
}
