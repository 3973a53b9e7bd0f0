// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeFindBar.h"

#include <QHBoxLayout>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QSet>
#include <vector>

#include "app/KestruneDoc.h"
#include "app/ShellTexts.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "app/TextConvert.h"
#include "tree/KestruneView.h"
#include "tree/MenuTreeModel.h"
#include "tree/TreeNodes.h"

CTreeFindBar::CTreeFindBar(CKestruneView& view, QWidget* parent) : QWidget(parent), m_view(view) {
    setObjectName(QStringLiteral("treeFindBar"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("treeFindEdit"));
    m_edit->setPlaceholderText(shelltexts::kFindPlaceholder);
    // The clear button's theme icon is looked up when the button is made, a cost the
    // first window need not pay: it comes with the first text.
    connect(m_edit, &QLineEdit::textChanged, this, [this] { m_edit->setClearButtonEnabled(true); },
            Qt::SingleShotConnection);
    m_edit->installEventFilter(this);
    auto* label = new QLabel(shelltexts::kFindLabel, this);
    label->setBuddy(m_edit);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("treeFindStatus"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    row->addWidget(m_status);
    connect(m_edit, &QLineEdit::textChanged, this, &CTreeFindBar::ApplyFilter);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, [this] {
        if (!FilterSlice()) m_slices.stop();
    });
    connect(m_edit, &QLineEdit::returnPressed, this, &CTreeFindBar::FindNext);
    // New, moved or renamed nodes are filtered too, once the edit that made them is done.
    connect(&view.GetDocument(), &CKestruneDoc::modelChanged, this, [this] {
        if (IsFiltering()) QTimer::singleShot(0, this, &CTreeFindBar::ApplyFilter);
    });
    hide();
}

bool CTreeFindBar::IsFiltering() const { return !m_edit->text().isEmpty(); }

QString CTreeFindBar::Status() const { return m_status->text(); }

void CTreeFindBar::Open() {
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void CTreeFindBar::Close() {
    m_edit->clear();  // shows every node again
    RestoreExpansion();
    hide();
    m_view.setFocus(Qt::OtherFocusReason);
}

bool CTreeFindBar::Matches(const kestrune::CVoraneItem& item) const {
    const QString wanted = m_edit->text();
    for (const std::string* field : {&item.m_label, &item.m_description, &item.m_link})
        if (kestrune::convert::LabelToWidget(*field).contains(wanted, Qt::CaseInsensitive)) return true;
    return false;
}

namespace {
using kestrune::CVorane;
using kestrune::CVoraneItem;

// The items of a menu with their sub menus' items, depth first in tree order, read without
// making empty sub menus. visit(item) sees an item before its sub items; done(item, hasSub)
// after them.
template <typename Visit, typename Done>
void WalkItems(const CVorane& menu, Visit visit, Done done) {
    struct Frame {
        const CVorane* menu;
        std::size_t next;
        const CVoraneItem* owner;
    };
    std::vector<Frame> frames{{&menu, 0, nullptr}};
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next == frame.menu->m_items.size()) {
            const CVoraneItem* owner = frame.owner;
            frames.pop_back();
            if (owner) done(*owner);
            continue;
        }
        const CVoraneItem* item = frame.menu->m_items[frame.next++].get();
        visit(*item);
        if (item->m_subMenu.HasItems()) frames.push_back({item->m_subMenu.Existing(), 0, item});
        else done(*item);
    }
}

// The row of the node's last child that the filter shows; -1 when none.
int LastShownChild(const kestrune::CAppletParameters& applet, const QModelIndex& node, const QSet<const void*>& shown) {
    if (treenodes::AppletOfNode(node)) {
        for (int row = static_cast<int>(applet.m_menus.size()); row-- > 0;)
            if (shown.contains(applet.m_menus[static_cast<std::size_t>(row)].get())) return row;
        return -1;
    }
    const CVorane* menu = CMenuTreeModel::ChildMenuOf(node);
    if (!menu) return -1;
    for (int row = static_cast<int>(menu->m_items.size()); row-- > 0;)
        if (shown.contains(menu->m_items[static_cast<std::size_t>(row)].get())) return row;
    return -1;
}
}  // namespace

void CTreeFindBar::ShowEveryRow() {
    for (const QPersistentModelIndex& row : m_hiddenRows)
        if (row.isValid()) m_view.setRowHidden(row.row(), row.parent(), false);
    m_hiddenRows.clear();
}

void CTreeFindBar::RememberExpansion() {
    if (m_expansionKept) return;
    m_expansionKept = true;
    m_expandedBefore.clear();
    CMenuTreeModel& model = m_view.TreeModel();
    std::vector<QModelIndex> pending{m_view.RootNode()};
    while (!pending.empty()) {
        const QModelIndex node = pending.back();
        pending.pop_back();
        if (!m_view.isExpanded(node)) continue;
        m_expandedBefore.emplace_back(node);
        for (int row = 0, rows = model.rowCount(node); row < rows; ++row) pending.push_back(model.index(row, 0, node));
    }
}

void CTreeFindBar::RestoreExpansion() {
    if (!m_expansionKept) return;
    m_expansionKept = false;
    const QModelIndex selected = m_view.SelectedNode();
    m_view.collapseAll();
    for (const QPersistentModelIndex& node : m_expandedBefore)
        if (node.isValid()) m_view.expand(node);
    m_expandedBefore.clear();
    if (selected.isValid()) {
        m_view.SelectNode(selected);
        m_view.scrollTo(selected);
    }
}

void CTreeFindBar::ApplyFilter() {
    m_slices.stop();
    m_pending.clear();
    ShowEveryRow();
    m_status->clear();
    if (!IsFiltering()) return;
    RememberExpansion();
    // Which objects stay shown: the matches and everything above them, from the document.
    m_shown.clear();
    m_found = 0;
    std::vector<bool> below;  // per open item: whether something under it is shown
    for (const auto& menu : m_view.GetDocument().Applet().m_menus) {
        bool menuShown = false;
        WalkItems(
            *menu, [&](const CVoraneItem&) { below.push_back(false); },
            [&](const CVoraneItem& item) {
                const bool match = Matches(item);
                m_found += match ? 1 : 0;
                const bool visible = below.back() || match;
                below.pop_back();
                if (!visible) return;
                m_shown.insert(&item);
                if (!below.empty()) below.back() = true;
                else menuShown = true;
            });
        if (menuShown) m_shown.insert(menu.get());
    }
    m_pending.push_back({QPersistentModelIndex(m_view.RootNode()), -1});
    m_status->setText(shelltexts::kFindSearching);
    if (FilterSlice()) m_slices.start();
}

bool CTreeFindBar::FilterSlice() {
    // Hide the rest where it would show: the rows below shown nodes, which open. A long
    // menu hands out its rows up to its last shown one.
    constexpr qint64 kSliceMilliseconds = 15;
    QElapsedTimer slice;
    slice.start();
    CMenuTreeModel& model = m_view.TreeModel();
    const kestrune::CAppletParameters& applet = m_view.GetDocument().Applet();
    while (!m_pending.empty()) {
        PendingNode& pending = m_pending.back();
        const QModelIndex node = pending.node;
        if (!node.isValid()) {
            m_pending.pop_back();
            continue;
        }
        if (pending.nextRow < 0) {
            model.Reveal(node, LastShownChild(applet, node, m_shown));
            if (model.rowCount(node) > 0) m_view.expand(node);
            pending.nextRow = 0;
        }
        const int rows = model.rowCount(node);
        std::vector<QModelIndex> shownChildren;
        int row = pending.nextRow;
        for (; row < rows; ++row) {
            const QModelIndex child = model.index(row, 0, node);
            if (m_shown.contains(treenodes::ObjectOfNode(child))) {
                shownChildren.push_back(child);
            } else {
                m_view.setRowHidden(row, node, true);
                m_hiddenRows.emplace_back(child);
            }
            if ((row & 255) == 255 && slice.elapsed() >= kSliceMilliseconds) {
                ++row;
                break;
            }
        }
        if (row >= rows) m_pending.pop_back();
        else m_pending.back().nextRow = row;
        for (const QModelIndex& child : shownChildren) m_pending.push_back({QPersistentModelIndex(child), -1});
        if (slice.elapsed() >= kSliceMilliseconds) return true;
    }
    m_status->setText(m_found == 0 ? shelltexts::kFindNoMatch : shelltexts::kFindCount.arg(m_found));
    return false;
}

bool CTreeFindBar::FindNext() {
    if (!IsFiltering()) return false;
    std::vector<const CVoraneItem*> matches;
    int after = -1;
    const void* selected = treenodes::ObjectOfNode(m_view.SelectedNode());
    for (const auto& menu : m_view.GetDocument().Applet().m_menus) {
        WalkItems(
            *menu,
            [&](const CVoraneItem& item) {
                if (Matches(item)) matches.push_back(&item);
                if (&item == selected) after = static_cast<int>(matches.size()) - 1;
            },
            [](const CVoraneItem&) {});
    }
    if (matches.empty()) return false;
    const std::size_t next = static_cast<std::size_t>(after + 1) % matches.size();
    m_view.SelectNode(m_view.NodeOfItem(matches[next]));
    m_status->setText(shelltexts::kFindPosition.arg(next + 1).arg(matches.size()));
    return true;
}

bool CTreeFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
        if (key->key() == Qt::Key_F3) {
            FindNext();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
