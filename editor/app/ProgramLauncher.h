// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QTemporaryDir;

namespace kestrune {
struct LaunchRequest;
}

// The desktop shell's "open": a document with its default program, or a program with one
// parameter in a working folder. Nothing waits for the program; failures are not reported
// to the user, only returned.
class IProgramLauncher {
public:
    virtual ~IProgramLauncher() = default;
    virtual bool OpenDocument(const QString& path) = 0;
    // An empty working folder lets the program inherit ours.
    virtual bool StartProgram(const QString& program, const QString& argument, const QString& workingFolder) = 0;

    // Carries out a request of the launch rule.
    bool Launch(const kestrune::LaunchRequest& request);

    // Why the last launch failed, as the system said it; empty when it gave no reason.
    QString LastError() const { return m_lastError; }

    // Told when a started program ends with an error within a few seconds (a browser that
    // refuses to run): the program (empty: the desktop's default one) and the first line
    // it wrote to its error output.
    std::function<void(const QString& program, const QString& errorOutput)> onEarlyFailure;

protected:
    QString m_lastError;
};

// xdg-open (QDesktopServices::openUrl without it) and QProcess::startDetached. A started
// program is watched for a few seconds: it runs under a shell that notes its exit code, its
// error output goes to a file, and neither ties its life to ours.
class DesktopProgramLauncher : public IProgramLauncher {
public:
    DesktopProgramLauncher();
    ~DesktopProgramLauncher() override;

    bool OpenDocument(const QString& path) override;
    bool StartProgram(const QString& program, const QString& argument, const QString& workingFolder) override;

    static constexpr int kWatchMilliseconds = 5000;

private:
    // shownName is what a report of an early end names.
    bool StartWatched(const QString& program, const QString& argument, const QString& workingFolder,
                      const QString& shownName);
    void Watch(const QString& program, const QString& statusFile, const QString& errorFile, int waited);

    std::unique_ptr<QTemporaryDir> m_notes;  // exit codes and error outputs
    int m_started = 0;
    QObject m_timers;  // the watches end with the launcher
};
