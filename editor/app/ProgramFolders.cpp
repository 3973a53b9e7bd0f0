// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include "persist/PersistTexts.h"

namespace {
QString Clean(const QString& folder) {
    QString cleaned = QDir::cleanPath(folder);
    while (cleaned.size() > 1 && cleaned.endsWith(QLatin1Char('/'))) cleaned.chop(1);
    return cleaned;
}

bool HoldsShippedData(const QString& folder) {
    return QFileInfo::exists(folder + QLatin1Char('/') + QString::fromLatin1(kestrune::texts::kTemplateFileName));
}

QString InstalledDataFolder(const QString& executableDir) {
    return Clean(executableDir + QStringLiteral("/../share/kestrune"));
}

bool IsWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) return false;
    const QFileInfo file(folder + QLatin1Char('/') + QString::fromLatin1(kestrune::texts::kTemplateFileName));
    return !file.exists() || file.isWritable();
}

QString NewPrivateFolderUnder(const QString& parent) {
    if (parent.isEmpty() || !QDir().mkpath(parent)) return {};
    // QTemporaryDir makes the folder with mode 0700 and a name no other run has.
    QTemporaryDir folder(parent + QStringLiteral("/kestrune-XXXXXX"));
    if (!folder.isValid()) return {};
    folder.setAutoRemove(false);
    return Clean(folder.path());
}
}  // namespace

QString FindDataFolder(const QString& executableDir) {
    const QString own = Clean(executableDir);
    if (HoldsShippedData(own)) return own;
    const QString installed = InstalledDataFolder(own);
    if (QFileInfo(installed).isDir()) return installed;
    return own;
}

bool IsSystemLocation(const QString& folder) {
    const QString path = Clean(QFileInfo(folder).absoluteFilePath());
    static const QStringList roots = {QStringLiteral("/usr"),  QStringLiteral("/opt"),  QStringLiteral("/snap"),
                                      QStringLiteral("/app"),  QStringLiteral("/nix"),  QStringLiteral("/gnu"),
                                      QStringLiteral("/bin"),  QStringLiteral("/lib"),  QStringLiteral("/etc")};
    for (const QString& root : roots)
        if (path == root || path.startsWith(root + QLatin1Char('/'))) return true;
    return false;
}

QString UserDataFolder() {
    // QStandardPaths::AppDataLocation for organisation "Quellary" and application
    // "Kestrune", spelt out so the headless command line finds the same folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Quellary/Kestrune");
}

ProgramFolders FindProgramFolders(const QString& executableDir) {
    ProgramFolders folders;
    folders.appDir = FindDataFolder(executableDir);
    // Data found through the installed layout belongs to the package, whoever may write it.
    const bool installed = folders.appDir != Clean(executableDir);
    const bool portable = !installed && IsWritableFolder(folders.appDir) && !IsSystemLocation(folders.appDir);
    folders.userDir = portable ? folders.appDir : UserDataFolder();
    return folders;
}

QString MakePrivateRunFolder() {
    for (const QString& parent : {QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                                  QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                      QStringLiteral("/Quellary/Kestrune"),
                                  QDir::tempPath()}) {
        const QString folder = NewPrivateFolderUnder(parent);
        if (!folder.isEmpty()) return folder;
    }
    return {};
}
