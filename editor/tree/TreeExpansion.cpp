// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeExpansion.h"

#include <QStringList>
#include <QTreeView>
#include <vector>

#include "app/KestruneDoc.h"
#include "app/ShellTexts.h"
#include "base/SettingsStore.h"
#include "model/AppletParameters.h"
#include "model/ModelChange.h"
#include "model/VoraneItem.h"
#include "tree/TreeNodes.h"

using namespace kestrune;

namespace {
// A node's place as the rows leading to it: "2" the third top-level menu, "2.0" its first item.
struct PlacedMenu {
    const CVorane* menu;
    QString path;
};

const void* ObjectAt(const CAppletParameters& applet, const QString& path) {
    const QStringList rows = path.split(QLatin1Char('.'));
    bool ok = false;
    const int top = rows.front().toInt(&ok);
    if (!ok || top < 0 || top >= static_cast<int>(applet.m_menus.size())) return nullptr;
    const void* object = applet.m_menus[static_cast<std::size_t>(top)].get();
    const CVorane* menu = applet.m_menus[static_cast<std::size_t>(top)].get();
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const int row = rows[i].toInt(&ok);
        const CVoraneItem* item = menu ? menu->GetItem(ok ? row : -1) : nullptr;
        if (!item) return nullptr;
        object = item;
        menu = item->m_subMenu.Existing();
    }
    return object;
}
}  // namespace

CTreeExpansion::CTreeExpansion(ITreePane& tree, ISettingsStore& settings) : m_tree(tree), m_settings(settings) {
    QTreeView& view = tree.Widget();
    connect(&view, &QTreeView::expanded, this,
            [this](const QModelIndex& node) { m_open.insert(treenodes::ObjectOfNode(node)); });
    connect(&view, &QTreeView::collapsed, this,
            [this](const QModelIndex& node) { m_open.erase(treenodes::ObjectOfNode(node)); });
}

void CTreeExpansion::Follow(const ModelChange& change) {
    if (change.kind == ModelChange::ItemInserted) Reopen(m_tree.NodeOfItem(change.item));
    if (change.kind == ModelChange::MenuInserted) Reopen(m_tree.NodeOfItem(change.menu));
}

void CTreeExpansion::Reopen(const QModelIndex& node) {
    std::vector<QModelIndex> pending{node};
    while (!pending.empty()) {
        const QModelIndex current = pending.back();
        pending.pop_back();
        if (!current.isValid() || !IsOpen(treenodes::ObjectOfNode(current))) continue;
        m_tree.Widget().expand(current);
        for (int row = 0; row < treenodes::ChildCountOfNode(current); ++row)
            pending.push_back(treenodes::ChildOfNode(current, row));
    }
}

void CTreeExpansion::Save(const QString& path) const {
    if (path.isEmpty()) return;
    const CAppletParameters& applet = m_tree.GetDocument().Applet();
    QStringList open;
    std::vector<PlacedMenu> pending;
    for (std::size_t m = 0; m < applet.m_menus.size(); ++m) {
        const QString place = QString::number(m);
        if (IsOpen(applet.m_menus[m].get())) open << place;
        pending.push_back({applet.m_menus[m].get(), place});
    }
    while (!pending.empty()) {
        const PlacedMenu placed = pending.back();
        pending.pop_back();
        for (std::size_t i = 0; i < placed.menu->m_items.size(); ++i) {
            const CVoraneItem* item = placed.menu->m_items[i].get();
            if (!item->m_subMenu.HasItems()) continue;
            const QString place = placed.path + QLatin1Char('.') + QString::number(i);
            if (IsOpen(item)) open << place;
            pending.push_back({item->m_subMenu.Existing(), place});
        }
    }
    m_settings.SetString(shelltexts::kTreeSection, shelltexts::kTreeDocumentKey, path.toStdString());
    m_settings.SetString(shelltexts::kTreeSection, shelltexts::kTreeOpenNodesKey,
                         open.join(QLatin1Char(',')).toStdString());
}

void CTreeExpansion::Restore(const QString& path) {
    if (path.isEmpty() ||
        QString::fromStdString(m_settings.GetString(shelltexts::kTreeSection, shelltexts::kTreeDocumentKey)) != path)
        return;
    const CAppletParameters& applet = m_tree.GetDocument().Applet();
    const QString open = QString::fromStdString(m_settings.GetString(shelltexts::kTreeSection,
                                                                     shelltexts::kTreeOpenNodesKey));
    for (const QString& place : open.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const void* object = ObjectAt(applet, place)) m_tree.Widget().expand(m_tree.NodeOfItem(object));
}
