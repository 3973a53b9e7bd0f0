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
constexpr qint64 kErrorOutputRead = 4000;  // enough for the first line of a long error output
// The desktop's opener of documents; it ends with the program it runs.
constexpr const char* kDesktopOpener = "xdg-open";

// Runs "$@" and writes its exit code into the file named first.
constexpr const char* kNoteExitCode = R"(note=$1; shift; "$@"; echo $? > "$note")";

// A browser that refuses to run says why first; what follows is detail.
QString FirstLineOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromLocal8Bit(file.read(kErrorOutputRead)).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) return line.trimmed();
    return {};
}
}  // namespace

DesktopProgramLauncher::DesktopProgramLauncher() = default;
DesktopProgramLauncher::~DesktopProgramLauncher() = default;

// Through the desktop's opener, watched as a named program is: a default browser that
// ends at once is told too.
bool DesktopProgramLauncher::OpenDocument(const QString& path) {
    m_lastError.clear();
    const QString opener = QStandardPaths::findExecutable(QString::fromLatin1(kDesktopOpener));
    if (opener.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return StartWatched(opener, path, QString(), QString());
}

bool DesktopProgramLauncher::StartProgram(const QString& program, const QString& argument,
                                          const QString& workingFolder) {
    m_lastError.clear();
    // The shell would start and then fail: a missing program is said at once.
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        m_lastError = shelltexts::kProgramNotFound;
        return false;
    }
    return StartWatched(program, argument, workingFolder, program);
}

bool DesktopProgramLauncher::StartWatched(const QString& program, const QString& argument,
                                          const QString& workingFolder, const QString& shownName) {
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
    if (m_notes->isValid()) Watch(shownName, statusFile, errorFile, 0);
    return true;
}

void DesktopProgramLauncher::Watch(const QString& program, const QString& statusFile, const QString& errorFile,
                                   int waited) {
    QFile status(statusFile);
    const QByteArray code = status.open(QIODevice::ReadOnly) ? status.readAll().trimmed() : QByteArray();
    if (!code.isEmpty()) {
        if (code != "0" && onEarlyFailure) {
            const QString errors = FirstLineOf(errorFile);
            onEarlyFailure(program, errors.isEmpty() ? shelltexts::kExitCode.arg(QString::fromLatin1(code)) : errors);
        }
        return;
    }
    if (waited >= kWatchMilliseconds) return;
    QTimer::singleShot(kWatchStep, &m_timers,
                       [=, this] { Watch(program, statusFile, errorFile, waited + kWatchStep); });
}
