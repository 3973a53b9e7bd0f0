// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <unordered_set>

#include "tree/TreePane.h"

namespace kestrune {
class ISettingsStore;
struct ModelChange;
}  // namespace kestrune

// Which nodes of the tree are open, by the model object each shows, so a node keeps its
// state while it moves, and gets it back when undo or redo puts the very object back in.
// The document last open keeps its open nodes from one run, and one opening, to the next.
class CTreeExpansion : public QObject {
    Q_OBJECT
public:
    CTreeExpansion(ITreePane& tree, kestrune::ISettingsStore& settings);

    // After the model changed: objects put back are opened as they were.
    void Follow(const kestrune::ModelChange& change);
    // The tree was refilled: nothing known is open any more.
    void Forget() { m_open.clear(); }
    // The open nodes of the document at path, written to the settings (an unnamed document
    // keeps nothing).
    void Save(const QString& path) const;
    // Opens the nodes the settings keep for the document at path, if it was the last one.
    void Restore(const QString& path);
    bool IsOpen(const void* object) const { return m_open.contains(object); }

private:
    // The node and, below the ones open, what was open under it.
    void Reopen(const QModelIndex& node);

    ITreePane& m_tree;
    kestrune::ISettingsStore& m_settings;
    // Kept for objects taken out too: an undo step holds them and may put them back.
    std::unordered_set<const void*> m_open;
};
