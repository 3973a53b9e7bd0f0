// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include "app/ProgramLauncher.h"

// Records launches instead of starting anything.
class FakeProgramLauncher : public IProgramLauncher {
public:
    struct Call {
        bool document = false;
        QString target;
        QString argument;
        QString workingFolder;
        bool operator==(const Call&) const = default;
    };
    QList<Call> calls;
    bool succeed = true;

    QString failure = QStringLiteral("No such file or directory");  // the reason given when not succeeding

    bool OpenDocument(const QString& path) override {
        calls.append({true, path, {}, {}});
        return Answer();
    }
    bool StartProgram(const QString& program, const QString& argument, const QString& workingFolder) override {
        calls.append({false, program, argument, workingFolder});
        return Answer();
    }

private:
    bool Answer() {
        m_lastError = succeed ? QString() : failure;
        return succeed;
    }
};
