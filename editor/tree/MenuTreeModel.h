// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QPersistentModelIndex>
#include <optional>
#include <vector>

#include "model/ModelChange.h"
#include "tree/TreeFilter.h"

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The menu tree as an item model over the document's model: one row for the applet, below
// it the top-level menus, below each its items, below each item the items of its sub menu.
// Nothing is built per item: rows are read from the model when a view asks for them. An
// index names its object by pointer, tagged with the object's sort; the way back up (parent)
// is remembered only for objects whose index was handed out, so the cost follows what a
// view shows, not what the document holds.
//
// The model follows the edit layer: Prepare() before a structural change (the begin half
// of Qt's insert/remove/move notifications, while removed objects are still in place),
// Follow() after every change.
//
// With a filter set, each node's rows are only the children the filter shows. The filter
// is built again after every change, so it never names an object that is gone.
class CMenuTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role { ObjectRole = Qt::UserRole, PictureRole };
    enum Sort : quintptr { kApplet = 0, kMenu = 1, kItem = 2 };

    explicit CMenuTreeModel(kestrune::CAppletParameters& applet, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    // A long menu's rows reach views a batch at a time, as they scroll to its end. A tree
    // view asks for more on every layout of an open node, which would soon hand out every
    // row: more is given only while the view says its user scrolled (SetFetchAllowed).
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void SetFetchAllowed(bool allowed) { m_fetchAllowed = allowed; }
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static constexpr int kBatchRows = 1000;

    QModelIndex RootIndex() const;
    // Hands views the parent's rows up to and including row (whole batches).
    void Reveal(const QModelIndex& parent, int row);
    void RevealAll(const QModelIndex& parent) { Reveal(parent, ChildCount(parent.internalId()) - 1); }
    // The index showing a model object (the applet, a top-level menu or an item); invalid
    // when the model holds no such object. Objects never shown are searched for.
    QModelIndex IndexOfObject(const void* object) const;
    // The index whose children are the menu's items: a top-level menu's own, or the index
    // of the item owning the sub menu. Invalid when no view was given that index yet
    // (then nothing below it is shown either).
    QModelIndex HolderOfMenu(const kestrune::CVorane* menu) const;

    // Reading an index without the model.
    static Sort SortOf(const QModelIndex& index);
    static const void* ObjectOf(const QModelIndex& index);
    static kestrune::CAppletParameters* AppletOf(const QModelIndex& index);
    static kestrune::CVorane* MenuOf(const QModelIndex& index);
    static kestrune::CVoraneItem* ItemOf(const QModelIndex& index);
    // The menu whose items are the index's children; null for the root and for an item
    // that never had a sub menu.
    static kestrune::CVorane* ChildMenuOf(const QModelIndex& index);

    // The node drawn as the drop target of a drag; an invalid index: none.
    void SetHighlighted(const QModelIndex& index);
    QModelIndex Highlighted() const { return m_highlighted; }

    // Views start afresh showing only what match keeps (with everything above it), or,
    // when cleared, everything again.
    // narrows: match keeps no more than the filter set now (its text looked for is longer).
    void SetFilter(CTreeFilter::Match match, bool narrows = false);
    void ClearFilter();
    const CTreeFilter* Filter() const { return m_filter ? &*m_filter : nullptr; }

    // Everything handed out is forgotten and views start afresh (the document was refilled).
    void Refill();
    void Prepare(const kestrune::ModelChange& change);
    void Follow(const kestrune::ModelChange& change);
    // The node's children that views were handed, without handing out any more.
    std::vector<QModelIndex> HandedOutChildren(const QModelIndex& node) const;
    // How many objects have their way back up remembered (what views were handed).
    int RememberedCount() const { return static_cast<int>(m_links.size()); }

private:
    struct Link {
        quintptr parent = 0;  // key of the parent's index
        int row = 0;          // last known row; checked before use
    };
    QModelIndex IndexOfKey(quintptr key) const;
    int RowOfKey(quintptr key) const;
    quintptr HolderKey(const kestrune::CVorane* menu) const;
    quintptr FindKey(const void* object);
    int ChildCount(quintptr key) const;
    const void* ChildAt(quintptr key, int row) const;
    quintptr FindFilteredKey(const void* object);
    void ForgetHandedOut();
    int Limit(quintptr key) const { return m_limits.value(key, kBatchRows); }
    void SetLimit(quintptr key, int rows);
    void ForgetBelow(quintptr key);
    void RefreshNode(const QModelIndex& index);

    kestrune::CAppletParameters& m_applet;
    mutable QHash<quintptr, Link> m_links;
    // Menu -> key of the index holding its items, for menus whose items were handed out.
    mutable QHash<const kestrune::CVorane*, quintptr> m_holders;
    QPersistentModelIndex m_highlighted;
    // Holder key -> rows handed to views, for menus that were fetched past their first batch.
    QHash<quintptr, int> m_limits;
    bool m_fetchAllowed = false;
    // What Prepare began and Follow must end.
    enum class Pending { None, Insert, Remove, Move, Reset };
    Pending m_pending = Pending::None;
    QPersistentModelIndex m_pendingHolder;
    int m_pendingLimit = -1;  // the holder's row limit once the change is done
    CTreeFilter::Match m_match;
    std::optional<CTreeFilter> m_filter;
};
