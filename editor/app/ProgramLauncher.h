// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

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

protected:
    QString m_lastError;
};

// QDesktopServices::openUrl and QProcess::startDetached.
class DesktopProgramLauncher : public IProgramLauncher {
public:
    bool OpenDocument(const QString& path) override;
    bool StartProgram(const QString& program, const QString& argument, const QString& workingFolder) override;
};
