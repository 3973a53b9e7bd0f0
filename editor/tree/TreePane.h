// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QModelIndex>
#include <functional>

class CKestruneDoc;
class CMenuTreeModel;
class QTreeView;
namespace kestrune {
class CVorane;
}

// What the tree's helpers (find bar, clipboard and drag) need of the tree pane: its
// widget, model and document, and the selection that follows the model's objects.
class ITreePane {
public:
    virtual QTreeView& Widget() = 0;
    virtual CMenuTreeModel& TreeModel() const = 0;
    virtual CKestruneDoc& GetDocument() const = 0;
    virtual QModelIndex RootNode() const = 0;
    virtual QModelIndex SelectedNode() const = 0;
    virtual void SelectNode(const QModelIndex& node) = 0;
    // The node that shows a model object; invalid when none does.
    virtual QModelIndex NodeOfItem(const void* modelObject) const = 0;
    virtual kestrune::CVorane* FindSubMenuStyle(const QModelIndex& node) const = 0;
    // Runs showAfresh, which resets the tree's model, and brings the current object back.
    virtual void ShowAfreshKeepingCurrent(const std::function<void()>& showAfresh) = 0;

protected:
    ~ITreePane() = default;
};
