// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "tree/KestruneView.h"
#include "tree/MenuTreeModel.h"
#include "tree/TreeNodes.h"

// Compares the menu tree's model with the document node for node: object, picture, text and
// order of every node, whether shown yet or not. Returns the first disagreement, or an empty
// text when both agree.
inline QString TreeModelDisagreement(const CKestruneView& view, const kestrune::CAppletParameters& applet) {
    using namespace treenodes;
    QAbstractItemModel& model = *view.model();
    // A long menu hands out its rows in batches: all of them are fetched for the comparison.
    const auto fetchAll = [&view](const QModelIndex& node) { view.TreeModel().RevealAll(node); };
    if (model.rowCount() != 1) return QStringLiteral("the tree has %1 roots").arg(model.rowCount());
    const QModelIndex root = model.index(0, 0);
    if (ObjectOfNode(root) != &applet || GetNodePicture(root) != kPictureRoot)
        return QStringLiteral("the root does not show the applet");
    fetchAll(root);
    if (ChildCountOfNode(root) != static_cast<int>(applet.m_menus.size()))
        return QStringLiteral("root has %1 nodes for %2 menus").arg(ChildCountOfNode(root)).arg(applet.m_menus.size());

    struct Pending {
        QModelIndex node;
        const kestrune::CVorane* menu;
        QString path;
    };
    std::vector<Pending> pending;
    for (int m = 0; m < ChildCountOfNode(root); ++m) {
        const QModelIndex node = ChildOfNode(root, m);
        const kestrune::CVorane* menu = applet.m_menus[static_cast<std::size_t>(m)].get();
        const QString path = QStringLiteral("menu %1").arg(m);
        if (ObjectOfNode(node) != menu) return path + QStringLiteral(": wrong object");
        if (GetNodePicture(node) != PictureOfMenu(*menu)) return path + QStringLiteral(": wrong picture");
        if (TextOfNode(node) != TextOfMenu(*menu)) return path + QStringLiteral(": wrong text");
        pending.push_back({node, menu, path});
    }
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        fetchAll(current.node);
        if (ChildCountOfNode(current.node) != static_cast<int>(current.menu->m_items.size()))
            return current.path + QStringLiteral(": %1 nodes for %2 items")
                                      .arg(ChildCountOfNode(current.node))
                                      .arg(current.menu->m_items.size());
        for (int i = 0; i < ChildCountOfNode(current.node); ++i) {
            const QModelIndex node = ChildOfNode(current.node, i);
            const kestrune::CVoraneItem* item = current.menu->m_items[static_cast<std::size_t>(i)].get();
            const QString path = current.path + QStringLiteral("/%1").arg(i);
            if (ObjectOfNode(node) != item) return path + QStringLiteral(": wrong object");
            if (GetNodePicture(node) != PictureOfItem(*item))
                return path + QStringLiteral(": picture %1, expected %2").arg(GetNodePicture(node)).arg(PictureOfItem(*item));
            if (TextOfNode(node) != TextOfItem(*item)) return path + QStringLiteral(": wrong text");
            pending.push_back({node, &item->m_subMenu.Read(), path});
        }
    }
    return {};
}

// Every node of the tree in order, root first, whether shown yet or not (a long menu's rows
// are all fetched).
inline std::vector<QModelIndex> AllNodes(const CKestruneView& view) {
    std::vector<QModelIndex> nodes;
    std::vector<QModelIndex> pending{view.RootNode()};
    while (!pending.empty()) {
        const QModelIndex node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        view.TreeModel().RevealAll(node);
        for (int row = treenodes::ChildCountOfNode(node); row-- > 0;)
            pending.push_back(treenodes::ChildOfNode(node, row));
    }
    return nodes;
}

// Whether neither the node nor anything above it is a hidden row of the view.
inline bool IsNodeShown(const CKestruneView& view, const QModelIndex& node) {
    for (QModelIndex up = node; up.isValid(); up = up.parent())
        if (view.isRowHidden(up.row(), up.parent())) return false;
    return true;
}

// The tree as the user sees it: walking the shown rows from the root down (what the view
// has laid out, kept up to date edit by edit) meets the model's objects in order, each with
// its picture, icon and text, descending into exactly the nodes the view has open.
inline QString ShownTreeDisagreement(const CKestruneView& view, const kestrune::CAppletParameters& applet) {
    using namespace treenodes;
    struct Expected {
        const void* object;
        int picture;
        QString text;
    };
    std::vector<Expected> expected;
    const auto open = [&view](const void* object) { return view.isExpanded(view.NodeOfItem(object)); };
    // How many of an open node's children the view was handed (a long menu comes in batches).
    const auto handedOut = [&view](const void* object) {
        return static_cast<std::size_t>(view.model()->rowCount(view.NodeOfItem(object)));
    };
    expected.push_back({&applet, kPictureRoot, TextOfApplet(applet)});
    std::vector<const kestrune::CVoraneItem*> pending;
    for (std::size_t m = 0; m < applet.m_menus.size(); ++m) {
        const auto& menu = applet.m_menus[m];
        if (!open(&applet) || m >= handedOut(&applet)) break;
        expected.push_back({menu.get(), PictureOfMenu(*menu), TextOfMenu(*menu)});
        if (!open(menu.get())) continue;
        const std::size_t rows = handedOut(menu.get());
        for (std::size_t i = rows; i-- > 0;) pending.push_back(menu->m_items[i].get());
        while (!pending.empty()) {
            const kestrune::CVoraneItem* item = pending.back();
            pending.pop_back();
            expected.push_back({item, PictureOfItem(*item), TextOfItem(*item)});
            const auto& subItems = item->m_subMenu.Read().m_items;
            if (subItems.empty() || !open(item)) continue;
            for (std::size_t i = handedOut(item); i-- > 0;) pending.push_back(subItems[i].get());
        }
    }
    std::size_t shown = 0;
    for (QModelIndex node = view.RootNode(); node.isValid(); node = view.indexBelow(node), ++shown) {
        const QString row = QStringLiteral("row %1").arg(shown);
        if (shown >= expected.size()) return row + QStringLiteral(": more rows than objects");
        if (ObjectOfNode(node) != expected[shown].object) return row + QStringLiteral(": wrong object");
        if (GetNodePicture(node) != expected[shown].picture) return row + QStringLiteral(": wrong picture");
        if (TextOfNode(node) != expected[shown].text) return row + QStringLiteral(": wrong text");
        if (node.data(Qt::DecorationRole).value<QIcon>().cacheKey() != IconOfPicture(expected[shown].picture).cacheKey())
            return row + QStringLiteral(": wrong icon");
    }
    if (shown != expected.size()) return QStringLiteral("%1 rows for %2 objects").arg(shown).arg(expected.size());
    return {};
}

// The same with every node of the view opened and every row fetched first (a lazy tree,
// fully expanded).
inline QString ExpandedTreeDisagreement(CKestruneView& view, const kestrune::CAppletParameters& applet) {
    AllNodes(view);  // every row fetched
    view.expandAll();
    return ShownTreeDisagreement(view, applet);
}

#define VERIFY_SHOWN_TREE_MATCHES_MODEL(view, applet)                      \
    do {                                                                   \
        const QString disagreement = ShownTreeDisagreement(view, applet); \
        QVERIFY2(disagreement.isEmpty(), qPrintable(disagreement));        \
    } while (false)

#define VERIFY_EXPANDED_TREE_MATCHES_MODEL(view, applet)                      \
    do {                                                                      \
        const QString disagreement = ExpandedTreeDisagreement(view, applet); \
        QVERIFY2(disagreement.isEmpty(), qPrintable(disagreement));           \
    } while (false)

// Both: the tree's model and the rows the view shows agree with the document.
#define VERIFY_TREE_MATCHES_MODEL(view, applet)                                  \
    do {                                                                         \
        QString disagreement = TreeModelDisagreement(view, applet);              \
        if (disagreement.isEmpty()) disagreement = ShownTreeDisagreement(view, applet); \
        QVERIFY2(disagreement.isEmpty(), qPrintable(disagreement));              \
    } while (false)
