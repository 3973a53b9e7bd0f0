#pragma once

#include <QString>
#include <QTreeWidgetItem>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"

// Compares the menu tree with the model node for node: object, picture, text and order of
// every node. Returns the first disagreement, or an empty text when both agree.
inline QString TreeModelDisagreement(const CKestruneView& view, const kestrune::CAppletParameters& applet) {
    using namespace treenodes;
    if (view.topLevelItemCount() != 1) return QStringLiteral("the tree has %1 roots").arg(view.topLevelItemCount());
    const QTreeWidgetItem* root = view.topLevelItem(0);
    if (ObjectOfNode(root) != &applet || GetNodePicture(root) != kPictureRoot)
        return QStringLiteral("the root does not show the applet");
    if (root->childCount() != static_cast<int>(applet.m_menus.size()))
        return QStringLiteral("root has %1 nodes for %2 menus").arg(root->childCount()).arg(applet.m_menus.size());

    struct Pending {
        const QTreeWidgetItem* node;
        const kestrune::CVorane* menu;
        QString path;
    };
    std::vector<Pending> pending;
    for (int m = 0; m < root->childCount(); ++m) {
        const QTreeWidgetItem* node = root->child(m);
        const kestrune::CVorane* menu = applet.m_menus[static_cast<std::size_t>(m)].get();
        const QString path = QStringLiteral("menu %1").arg(m);
        if (ObjectOfNode(node) != menu) return path + QStringLiteral(": wrong object");
        if (GetNodePicture(node) != PictureOfMenu(*menu)) return path + QStringLiteral(": wrong picture");
        if (node->text(0) != TextOfMenu(*menu)) return path + QStringLiteral(": wrong text");
        pending.push_back({node, menu, path});
    }
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        if (current.node->childCount() != static_cast<int>(current.menu->m_items.size()))
            return current.path + QStringLiteral(": %1 nodes for %2 items")
                                      .arg(current.node->childCount())
                                      .arg(current.menu->m_items.size());
        for (int i = 0; i < current.node->childCount(); ++i) {
            const QTreeWidgetItem* node = current.node->child(i);
            const kestrune::CVoraneItem* item = current.menu->m_items[static_cast<std::size_t>(i)].get();
            const QString path = current.path + QStringLiteral("/%1").arg(i);
            if (ObjectOfNode(node) != item) return path + QStringLiteral(": wrong object");
            if (GetNodePicture(node) != PictureOfItem(*item))
                return path + QStringLiteral(": picture %1, expected %2").arg(GetNodePicture(node)).arg(PictureOfItem(*item));
            if (node->text(0) != TextOfItem(*item)) return path + QStringLiteral(": wrong text");
            pending.push_back({node, item->m_subMenu.get(), path});
        }
    }
    return {};
}

#define VERIFY_TREE_MATCHES_MODEL(view, applet)                          \
    do {                                                                 \
        const QString disagreement = TreeModelDisagreement(view, applet); \
        QVERIFY2(disagreement.isEmpty(), qPrintable(disagreement));      \
    } while (false)
