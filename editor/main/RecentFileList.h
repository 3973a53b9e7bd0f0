// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace kestrune {
class ISettingsStore;
}

// The four most recent documents, newest first, kept in "Recent File List" / "File1".."File4".
class CRecentFileList {
public:
    static constexpr int kMaxEntries = 4;

    void Load(const kestrune::ISettingsStore& settings);
    void Save(kestrune::ISettingsStore& settings) const;

    // Puts the path first; an entry for the same file moves rather than repeats.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_files; }
    int Count() const { return static_cast<int>(m_files.size()); }
    // The menu text of entry index: "&1 path".
    QString MenuText(int index) const;

private:
    QStringList m_files;
};
