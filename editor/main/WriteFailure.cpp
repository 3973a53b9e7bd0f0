// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/WriteFailure.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString SystemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

QString Named(const QString& path, const QString& reason) {
    return QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

// The reason one path cannot be written; empty when none shows.
QString ReasonFor(const QString& path) {
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    struct stat status {};
    if (::stat(folder.constData(), &status) != 0) return SystemError(errno);
    if (!S_ISDIR(status.st_mode)) return SystemError(ENOTDIR);
    // Files are replaced through a new file beside them, so the folder must take new files.
    if (::access(folder.constData(), W_OK | X_OK) != 0) return SystemError(errno);
    if (info.isDir()) return SystemError(EISDIR);
    QTemporaryFile probe(info.absolutePath() + QStringLiteral("/.kestrune-probe-XXXXXX"));
    if (!probe.open()) return probe.errorString();
    return {};
}
}  // namespace

QString DescribeWriteFailure(const QStringList& paths) {
    for (const QString& path : paths)
        if (const QString reason = ReasonFor(path); !reason.isEmpty()) return Named(path, reason);
    return {};
}
