// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/RecentFileList.h"

#include <QDir>
#include <QFileInfo>

#include "app/ShellTexts.h"
#include "base/SettingsStore.h"

namespace {
std::string KeyOf(int index) { return shelltexts::kRecentFileKey.arg(index + 1).toStdString(); }

bool SameFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}
}  // namespace

void CRecentFileList::Load(const kestrune::ISettingsStore& settings) {
    m_files.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path =
            QString::fromLocal8Bit(settings.GetString(shelltexts::kRecentFileSection, KeyOf(i)));
        if (!path.isEmpty()) m_files.append(path);
    }
}

void CRecentFileList::Save(kestrune::ISettingsStore& settings) const {
    for (int i = 0; i < kMaxEntries; ++i) {
        // Entries past the end are emptied so a shorter list does not bring old names back.
        const QString path = i < m_files.size() ? m_files[i] : QString();
        if (path.isEmpty() && !settings.Contains(shelltexts::kRecentFileSection, KeyOf(i))) continue;
        settings.SetString(shelltexts::kRecentFileSection, KeyOf(i), path.toLocal8Bit().toStdString());
    }
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) return;
    m_files.removeIf([&](const QString& existing) { return SameFile(existing, path); });
    m_files.prepend(QFileInfo(path).absoluteFilePath());
    while (m_files.size() > kMaxEntries) m_files.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size()) m_files.removeAt(index);
}

QString CRecentFileList::MenuText(int index) const {
    if (index < 0 || index >= m_files.size()) return {};
    QString shown = QDir::toNativeSeparators(m_files[index]);
    const QString home = QDir::homePath();
    if (!home.isEmpty() && shown.startsWith(home + QLatin1Char('/'))) shown = QLatin1Char('~') + shown.mid(home.size());
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
