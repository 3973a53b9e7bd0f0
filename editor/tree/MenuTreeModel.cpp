// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/MenuTreeModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <utility>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "tree/NodePictures.h"

using namespace kestrune;

static_assert(alignof(CAppletParameters) >= 4 && alignof(CVorane) >= 4 && alignof(CVoraneItem) >= 4,
              "the two low bits of an object's address carry its sort");

namespace {
constexpr quintptr kSortBits = 3;

quintptr KeyOf(const void* object, CMenuTreeModel::Sort sort) { return reinterpret_cast<quintptr>(object) | sort; }
CMenuTreeModel::Sort SortOfKey(quintptr key) { return static_cast<CMenuTreeModel::Sort>(key & kSortBits); }
void* ObjectOfKey(quintptr key) { return reinterpret_cast<void*>(key & ~kSortBits); }
CVoraneItem* ItemOfKey(quintptr key) { return static_cast<CVoraneItem*>(ObjectOfKey(key)); }
CVorane* MenuOfKey(quintptr key) { return static_cast<CVorane*>(ObjectOfKey(key)); }

// The menu whose items hang below the key's node; null for the applet and an item that
// never had a sub menu (read without making one).
const CVorane* ChildMenuOfKey(quintptr key) {
    switch (SortOfKey(key)) {
        case CMenuTreeModel::kMenu: return MenuOfKey(key);
        case CMenuTreeModel::kItem: return ItemOfKey(key)->m_subMenu.Existing();
        default: return nullptr;
    }
}

int PictureOfKey(quintptr key) {
    switch (SortOfKey(key)) {
        case CMenuTreeModel::kApplet: return treenodes::kPictureRoot;
        case CMenuTreeModel::kMenu: return treenodes::PictureOfMenu(*MenuOfKey(key));
        case CMenuTreeModel::kItem: return treenodes::PictureOfItem(*ItemOfKey(key));
    }
    return -1;
}

QString TextOfKey(quintptr key) {
    switch (SortOfKey(key)) {
        case CMenuTreeModel::kApplet:
            return treenodes::TextOfApplet(*static_cast<CAppletParameters*>(ObjectOfKey(key)));
        case CMenuTreeModel::kMenu: return treenodes::TextOfMenu(*MenuOfKey(key));
        case CMenuTreeModel::kItem: return treenodes::TextOfItem(*ItemOfKey(key));
    }
    return {};
}
}  // namespace

CMenuTreeModel::CMenuTreeModel(CAppletParameters& applet, QObject* parent)
    : QAbstractItemModel(parent), m_applet(applet) {}

// --- Reading an index ---------------------------------------------------------------------

CMenuTreeModel::Sort CMenuTreeModel::SortOf(const QModelIndex& index) { return SortOfKey(index.internalId()); }

const void* CMenuTreeModel::ObjectOf(const QModelIndex& index) {
    return index.isValid() ? ObjectOfKey(index.internalId()) : nullptr;
}

CAppletParameters* CMenuTreeModel::AppletOf(const QModelIndex& index) {
    if (!index.isValid() || SortOf(index) != kApplet) return nullptr;
    return static_cast<CAppletParameters*>(ObjectOfKey(index.internalId()));
}

CVorane* CMenuTreeModel::MenuOf(const QModelIndex& index) {
    if (!index.isValid() || SortOf(index) != kMenu) return nullptr;
    return MenuOfKey(index.internalId());
}

CVoraneItem* CMenuTreeModel::ItemOf(const QModelIndex& index) {
    if (!index.isValid() || SortOf(index) != kItem) return nullptr;
    return ItemOfKey(index.internalId());
}

CVorane* CMenuTreeModel::ChildMenuOf(const QModelIndex& index) {
    return index.isValid() ? const_cast<CVorane*>(ChildMenuOfKey(index.internalId())) : nullptr;
}

// --- The item model -----------------------------------------------------------------------

QModelIndex CMenuTreeModel::RootIndex() const { return createIndex(0, 0, KeyOf(&m_applet, kApplet)); }

QModelIndex CMenuTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row == 0 ? RootIndex() : QModelIndex();
    if (row >= rowCount(parent)) return {};
    const quintptr parentKey = parent.internalId();
    quintptr key = 0;
    if (SortOfKey(parentKey) == kApplet) {
        const auto* menu = static_cast<const CVorane*>(ChildAt(parentKey, row));
        key = KeyOf(menu, kMenu);
        m_holders.insert(menu, key);
    } else {
        const auto* item = static_cast<const CVoraneItem*>(ChildAt(parentKey, row));
        key = KeyOf(item, kItem);
        if (const CVorane* subMenu = item->m_subMenu.Existing()) m_holders.insert(subMenu, key);
    }
    m_links.insert(key, {parentKey, row});
    return createIndex(row, 0, key);
}

QModelIndex CMenuTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || SortOf(child) == kApplet) return {};
    const auto link = m_links.constFind(child.internalId());
    if (link == m_links.constEnd()) return {};
    return IndexOfKey(link->parent);
}

int CMenuTreeModel::ChildCount(quintptr key) const {
    if (m_filter) return static_cast<int>(m_filter->ChildrenOf(ObjectOfKey(key)).size());
    if (SortOfKey(key) == kApplet) return static_cast<int>(m_applet.m_menus.size());
    const CVorane* menu = ChildMenuOfKey(key);
    return menu ? static_cast<int>(menu->m_items.size()) : 0;
}

const void* CMenuTreeModel::ChildAt(quintptr key, int row) const {
    const auto at = static_cast<std::size_t>(row);
    if (m_filter) return m_filter->ChildrenOf(ObjectOfKey(key))[at];
    if (SortOfKey(key) == kApplet) return m_applet.m_menus[at].get();
    return ChildMenuOfKey(key)->m_items[at].get();
}

int CMenuTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    return std::min(ChildCount(parent.internalId()), Limit(parent.internalId()));
}

bool CMenuTreeModel::canFetchMore(const QModelIndex& parent) const {
    return parent.isValid() && ChildCount(parent.internalId()) > rowCount(parent);
}

void CMenuTreeModel::fetchMore(const QModelIndex& parent) {
    if (m_fetchAllowed && canFetchMore(parent)) Reveal(parent, rowCount(parent));
}

void CMenuTreeModel::SetLimit(quintptr key, int rows) {
    if (rows == kBatchRows) m_limits.remove(key);
    else m_limits.insert(key, rows);
}

void CMenuTreeModel::Reveal(const QModelIndex& parent, int row) {
    if (!parent.isValid()) return;
    const int shown = rowCount(parent);
    const int count = ChildCount(parent.internalId());
    if (row < shown || row >= count) return;
    const int rows = std::min(count, (row / kBatchRows + 1) * kBatchRows);
    beginInsertRows(parent, shown, rows - 1);
    SetLimit(parent.internalId(), rows);
    endInsertRows();
}

int CMenuTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool CMenuTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant CMenuTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const quintptr key = index.internalId();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return TextOfKey(key);
        case Qt::DecorationRole: return treenodes::IconOfPicture(PictureOfKey(key));
        case Qt::ForegroundRole:
            // A hidden menu or item shows its text greyed, besides the cross in its picture.
            if (m_highlighted == index) return QGuiApplication::palette().brush(QPalette::Active, QPalette::HighlightedText);
            if (treenodes::IsHiddenPicture(PictureOfKey(key)))
                return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
            return {};
        case Qt::BackgroundRole:
            if (m_highlighted == index) return QGuiApplication::palette().brush(QPalette::Active, QPalette::Highlight);
            return {};
        case PictureRole: return PictureOfKey(key);
        case ObjectRole: return QVariant::fromValue(reinterpret_cast<quintptr>(ObjectOfKey(key)));
        default: return {};
    }
}

Qt::ItemFlags CMenuTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    // The applet's title and item labels can be renamed in place; top-level menus have no name to edit.
    if (SortOf(index) != kMenu) flags |= Qt::ItemIsEditable;
    return flags;
}

// --- Objects and their indexes ------------------------------------------------------------

int CMenuTreeModel::RowOfKey(quintptr key) const {
    const auto link = m_links.find(key);
    if (link == m_links.end()) return -1;
    const void* object = ObjectOfKey(key);
    int row = -1;
    if (m_filter) {
        const std::vector<const void*>& shown = m_filter->ChildrenOf(ObjectOfKey(link->parent));
        const auto at = static_cast<std::size_t>(link->row);
        if (at < shown.size() && shown[at] == object) row = link->row;
        else if (const auto found = std::find(shown.begin(), shown.end(), object); found != shown.end())
            row = static_cast<int>(found - shown.begin());
    } else if (SortOfKey(link->parent) == kApplet) {
        const auto& menus = m_applet.m_menus;
        const auto at = static_cast<std::size_t>(link->row);
        row = at < menus.size() && menus[at].get() == object ? link->row
                                                            : m_applet.IndexOfTopLevelMenu(static_cast<const CVorane*>(object));
    } else if (const CVorane* menu = ChildMenuOfKey(link->parent)) {
        const auto at = static_cast<std::size_t>(link->row);
        row = at < menu->m_items.size() && menu->m_items[at].get() == object
                  ? link->row
                  : menu->IndexOf(static_cast<const CVoraneItem*>(object));
    }
    if (row >= 0) link->row = row;
    return row;
}

QModelIndex CMenuTreeModel::IndexOfKey(quintptr key) const {
    if (SortOfKey(key) == kApplet) return RootIndex();
    const int row = RowOfKey(key);
    return row < 0 ? QModelIndex() : createIndex(row, 0, key);
}

quintptr CMenuTreeModel::FindKey(const void* object) {
    if (!object) return 0;
    if (object == &m_applet) return KeyOf(object, kApplet);
    for (const Sort sort : {kMenu, kItem})
        if (const quintptr key = KeyOf(object, sort); m_links.contains(key) && RowOfKey(key) >= 0) return key;
    if (m_filter) return FindFilteredKey(object);
    // Never handed out: search the model, then hand out the way down to it.
    const QModelIndex root = RootIndex();
    const auto& menus = m_applet.m_menus;
    for (std::size_t m = 0; m < menus.size(); ++m) {
        if (menus[m].get() != object) continue;
        Reveal(root, static_cast<int>(m));
        return index(static_cast<int>(m), 0, root).internalId();
    }
    struct Frame {
        const CVorane* menu;
        std::size_t next;
    };
    for (std::size_t m = 0; m < menus.size(); ++m) {
        std::vector<Frame> frames{{menus[m].get(), 0}};
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next == frame.menu->m_items.size()) {
                frames.pop_back();
                continue;
            }
            const CVoraneItem* item = frame.menu->m_items[frame.next++].get();
            if (item == object) {
                Reveal(root, static_cast<int>(m));
                QModelIndex at = index(static_cast<int>(m), 0, root);
                for (const Frame& step : frames) {
                    Reveal(at, static_cast<int>(step.next - 1));
                    at = index(static_cast<int>(step.next - 1), 0, at);
                }
                return at.internalId();
            }
            if (const CVorane* subMenu = item->m_subMenu.Existing(); subMenu && !subMenu->m_items.empty())
                frames.push_back({subMenu, 0});
        }
    }
    return 0;
}

// The filter's shown tree is searched, and the way down to the object handed out.
quintptr CMenuTreeModel::FindFilteredKey(const void* object) {
    struct Frame {
        const std::vector<const void*>* children;
        std::size_t next;
    };
    std::vector<Frame> frames{{&m_filter->ChildrenOf(&m_applet), 0}};
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next == frame.children->size()) {
            frames.pop_back();
            continue;
        }
        const void* child = (*frame.children)[frame.next++];
        if (child == object) {
            QModelIndex at = RootIndex();
            for (const Frame& step : frames) {
                Reveal(at, static_cast<int>(step.next - 1));
                at = index(static_cast<int>(step.next - 1), 0, at);
            }
            return at.internalId();
        }
        if (const auto& below = m_filter->ChildrenOf(child); !below.empty()) frames.push_back({&below, 0});
    }
    return 0;
}

QModelIndex CMenuTreeModel::IndexOfObject(const void* object) const {
    // Finding may hand views more rows of a long menu; the document stays as it is.
    const quintptr key = const_cast<CMenuTreeModel*>(this)->FindKey(object);
    return key ? IndexOfKey(key) : QModelIndex();
}

std::vector<QModelIndex> CMenuTreeModel::HandedOutChildren(const QModelIndex& node) const {
    std::vector<QModelIndex> children;
    if (!node.isValid()) return children;
    const int rows = rowCount(node);
    for (int row = 0; row < rows; ++row) {
        const void* child = ChildAt(node.internalId(), row);
        const quintptr key = KeyOf(child, SortOf(node) == kApplet ? kMenu : kItem);
        if (m_links.contains(key)) children.push_back(createIndex(row, 0, key));
    }
    return children;
}

quintptr CMenuTreeModel::HolderKey(const CVorane* menu) const {
    if (!menu) return 0;
    if (const auto holder = m_holders.constFind(menu); holder != m_holders.constEnd()) {
        if (m_links.contains(*holder) && ChildMenuOfKey(*holder) == menu) return *holder;
    }
    // A sub menu made by the edit at hand: its item may have been handed out already.
    for (auto link = m_links.cbegin(); link != m_links.cend(); ++link) {
        if (SortOfKey(link.key()) == kItem && ItemOfKey(link.key())->m_subMenu.Existing() == menu) {
            m_holders.insert(menu, link.key());
            return link.key();
        }
    }
    return 0;
}

QModelIndex CMenuTreeModel::HolderOfMenu(const CVorane* menu) const {
    const quintptr key = HolderKey(menu);
    return key ? IndexOfKey(key) : QModelIndex();
}

// The object is leaving the model: nothing below it may be found by its address any more.
void CMenuTreeModel::ForgetBelow(quintptr key) {
    std::vector<quintptr> pending{key};
    while (!pending.empty()) {
        const quintptr current = pending.back();
        pending.pop_back();
        const bool handedOut = m_links.remove(current);
        m_limits.remove(current);
        const CVorane* menu = ChildMenuOfKey(current);
        if (!menu) continue;
        m_holders.remove(menu);
        if (!handedOut) continue;
        for (const auto& item : menu->m_items) pending.push_back(KeyOf(item.get(), kItem));
    }
}

void CMenuTreeModel::SetHighlighted(const QModelIndex& index) {
    if (m_highlighted == index) return;
    const QModelIndex old = m_highlighted;
    m_highlighted = index;
    RefreshNode(old);
    RefreshNode(index);
}

void CMenuTreeModel::RefreshNode(const QModelIndex& index) {
    if (index.isValid()) emit dataChanged(index, index);
}

// --- Following the document ---------------------------------------------------------------

void CMenuTreeModel::ForgetHandedOut() {
    m_links.clear();
    m_holders.clear();
    m_limits.clear();
    m_pending = Pending::None;
}

void CMenuTreeModel::Refill() {
    beginResetModel();
    ForgetHandedOut();
    if (m_match) m_filter = CTreeFilter::Build(m_applet, m_match);
    endResetModel();
}

void CMenuTreeModel::SetFilter(CTreeFilter::Match match, bool narrows) {
    beginResetModel();
    ForgetHandedOut();
    m_filter = narrows && m_filter && m_filter->IsWorthNarrowing() ? CTreeFilter::Narrow(*m_filter, m_applet, match) : CTreeFilter::Build(m_applet, match);
    m_match = std::move(match);
    endResetModel();
}

void CMenuTreeModel::ClearFilter() {
    if (!m_match) return;
    m_match = nullptr;
    m_filter.reset();
    Refill();
}

// Rows past a long menu's handed-out part are unknown to views: changes there are not told.
void CMenuTreeModel::Prepare(const ModelChange& change) {
    m_pending = Pending::None;
    m_pendingHolder = QModelIndex();
    m_pendingLimit = -1;
    // A filtered tree is shown afresh: the change may add or take away matches anywhere above.
    if (m_filter) {
        beginResetModel();
        m_pending = Pending::Reset;
        return;
    }
    const bool topLevel = change.kind == ModelChange::MenuInserted || change.kind == ModelChange::MenuRemoved ||
                          change.kind == ModelChange::MenuMoved;
    const QModelIndex holder = topLevel ? RootIndex() : HolderOfMenu(change.menu);
    if (!holder.isValid()) {
        if (change.kind == ModelChange::ItemRemoved) ForgetBelow(KeyOf(change.item, kItem));
        return;
    }
    const quintptr key = holder.internalId();
    const int count = ChildCount(key);
    const int limit = Limit(key);
    const int at = change.index;
    switch (change.kind) {
        case ModelChange::MenuInserted:
        case ModelChange::ItemInserted:
            if (at >= limit) break;
            if (count >= limit) m_pendingLimit = limit + 1;
            m_pendingHolder = holder;
            beginInsertRows(holder, at, at);
            m_pending = Pending::Insert;
            break;
        case ModelChange::MenuRemoved:
        case ModelChange::ItemRemoved:
            if (at < limit) {
                if (count > limit) m_pendingLimit = limit - 1;
                m_pendingHolder = holder;
                beginRemoveRows(holder, at, at);
                m_pending = Pending::Remove;
            }
            ForgetBelow(topLevel ? KeyOf(change.menu, kMenu) : KeyOf(change.item, kItem));
            break;
        case ModelChange::MenuMoved:
        case ModelChange::ItemMoved: {
            const int from = topLevel ? m_applet.IndexOfTopLevelMenu(change.menu) : change.menu->IndexOf(change.item);
            if (from < 0) break;
            // A swap across the end of what was handed out: one more row first, then a plain move.
            if (std::max(from, at) == rowCount(holder)) Reveal(holder, std::max(from, at));
            if (std::max(from, at) >= rowCount(holder)) break;
            if (beginMoveRows(holder, from, from, holder, at > from ? at + 1 : at)) m_pending = Pending::Move;
            break;
        }
        default:
            break;
    }
}

void CMenuTreeModel::Follow(const ModelChange& change) {
    if (m_pendingLimit >= 0 && m_pendingHolder.isValid()) SetLimit(m_pendingHolder.internalId(), m_pendingLimit);
    m_pendingLimit = -1;
    switch (std::exchange(m_pending, Pending::None)) {
        case Pending::Insert: endInsertRows(); break;
        case Pending::Remove: endRemoveRows(); break;
        case Pending::Move: endMoveRows(); break;
        case Pending::Reset:
            ForgetHandedOut();
            m_filter = CTreeFilter::Build(m_applet, m_match);
            endResetModel();
            return;
        case Pending::None: break;
    }
    // Whether an item opens a sub menu with items shows in its picture.
    RefreshNode(std::exchange(m_pendingHolder, QPersistentModelIndex()));
    const auto remembered = [this](const void* object, Sort sort) {
        const quintptr key = KeyOf(object, sort);
        return object && m_links.contains(key) ? IndexOfKey(key) : QModelIndex();
    };
    switch (change.kind) {
        case ModelChange::Reset: Refill(); break;
        case ModelChange::VisibilityChanged:
        case ModelChange::PropertiesChanged:
            // A text that now matches, or no longer does, changes what a filter shows.
            if (m_filter) {
                if (CTreeFilter rebuilt = CTreeFilter::Build(m_applet, m_match); rebuilt != *m_filter) {
                    beginResetModel();
                    ForgetHandedOut();
                    m_filter = std::move(rebuilt);
                    endResetModel();
                    break;
                }
            }
            if (change.item) RefreshNode(remembered(change.item, kItem));
            else if (change.menu) RefreshNode(remembered(change.menu, kMenu));
            else RefreshNode(RootIndex());
            break;
        default:
            break;
    }
}
