// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeFindBar.h"

#include <QElapsedTimer>
#include <QTreeView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <vector>

#include "app/KestruneDoc.h"
#include "app/ShellTexts.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "tree/FindMatcher.h"
#include "tree/TreePane.h"
#include "tree/MenuTreeModel.h"
#include "tree/TreeNodes.h"

using kestrune::CVoraneItem;

namespace {
// A filter may take this long before keys stop waiting for it, and then the tree follows
// once the typing pauses this long.
constexpr qint64 kKeystrokeMs = 50;
constexpr int kPauseMs = 250;
}  // namespace

CTreeFindBar::CTreeFindBar(ITreePane& pane, QWidget* parent) : QWidget(parent), m_pane(pane) {
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
    connect(m_edit, &QLineEdit::textChanged, this, &CTreeFindBar::TextChanged);
    connect(m_edit, &QLineEdit::returnPressed, this, &CTreeFindBar::FindNext);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &CTreeFindBar::ApplyFilter);
    // The model filters new, moved and renamed nodes itself, showing the tree afresh; the
    // first screens are opened again here.
    connect(&pane.TreeModel(), &QAbstractItemModel::modelReset, this, [this] {
        if (m_pane.TreeModel().Filter()) ExpandFirstScreens();
    });
    connect(&pane.GetDocument(), &CKestruneDoc::modelChanged, this, &CTreeFindBar::ShowCount);
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
    m_pause.stop();
    m_edit->clear();  // shows every node again
    hide();
    m_pane.Widget().setFocus(Qt::OtherFocusReason);
}

void CTreeFindBar::RememberExpansion() {
    if (m_expansionKept) return;
    m_expansionKept = true;
    m_expandedBefore.clear();
    CMenuTreeModel& model = m_pane.TreeModel();
    std::vector<QModelIndex> pending{m_pane.RootNode()};
    while (!pending.empty()) {
        const QModelIndex node = pending.back();
        pending.pop_back();
        if (!m_pane.Widget().isExpanded(node)) continue;
        m_expandedBefore.push_back(treenodes::ObjectOfNode(node));
        for (int row = 0, rows = model.rowCount(node); row < rows; ++row) pending.push_back(model.index(row, 0, node));
    }
}

void CTreeFindBar::RestoreExpansion() {
    m_expansionKept = false;
    const QModelIndex found = m_pane.SelectedNode();
    for (const void* object : m_expandedBefore)
        if (const QModelIndex node = m_pane.NodeOfItem(object); node.isValid()) m_pane.Widget().expand(node);
    m_expandedBefore.clear();
    m_pane.SelectNode(found.isValid() ? found : m_pane.RootNode());
}

void CTreeFindBar::TextChanged() {
    if (IsFiltering() && m_lastFilterMs > kKeystrokeMs) {
        m_status->setText(shelltexts::kFindSearching);
        m_pause.start();
    } else {
        ApplyFilter();
    }
}

void CTreeFindBar::ApplyFilter() {
    m_pause.stop();
    QElapsedTimer took;
    took.start();
    CMenuTreeModel& model = m_pane.TreeModel();
    if (!IsFiltering()) {
        m_status->clear();
        m_filteredFor.clear();
        if (!model.Filter()) return;
        m_pane.ShowAfreshKeepingCurrent([&] { model.ClearFilter(); });
        RestoreExpansion();
        return;
    }
    RememberExpansion();
    // A text holding the one filtered for keeps only what that filter keeps.
    const bool narrows = model.Filter() && !m_filteredFor.isEmpty() && m_edit->text().contains(m_filteredFor);
    m_filteredFor = m_edit->text();
    m_pane.ShowAfreshKeepingCurrent([&] {
        model.SetFilter([matcher = CFindMatcher(m_filteredFor)](const CVoraneItem& item) { return matcher.Matches(item); },
                        narrows);
    });
    ShowCount();
    m_lastFilterMs = took.elapsed();
}

// The first screens of matches are opened; deeper ones open as the user steps to them or
// opens their nodes, so a filter keeping a million rows lays out no more than a few thousand.
void CTreeFindBar::ExpandFirstScreens() {
    constexpr int kRowsOpened = 3000;
    CMenuTreeModel& model = m_pane.TreeModel();
    int rows = 0;
    std::vector<QModelIndex> pending{m_pane.RootNode()};
    while (!pending.empty() && rows < kRowsOpened) {
        const QModelIndex node = pending.back();
        pending.pop_back();
        const int children = model.rowCount(node);
        if (children == 0) continue;
        m_pane.Widget().expand(node);
        rows += children;
        for (int row = children; row-- > 0;) pending.push_back(model.index(row, 0, node));
    }
}

void CTreeFindBar::ShowCount() {
    const CTreeFilter* filter = m_pane.TreeModel().Filter();
    if (!filter) return;
    m_status->setText(filter->Found() == 0 ? shelltexts::kFindNoMatch : shelltexts::kFindCount.arg(filter->Found()));
}

bool CTreeFindBar::FindNext() {
    if (!IsFiltering()) return false;
    if (IsWaiting()) ApplyFilter();
    const CFindMatcher matcher(m_edit->text());
    std::vector<const CVoraneItem*> matches;
    int after = -1;
    const void* selected = treenodes::ObjectOfNode(m_pane.SelectedNode());
    for (const auto& menu : m_pane.GetDocument().Applet().m_menus) {
        WalkMenuItems(
            *menu,
            [&](const CVoraneItem& item) {
                if (matcher.Matches(item)) matches.push_back(&item);
                if (&item == selected) after = static_cast<int>(matches.size()) - 1;
            },
            [](const CVoraneItem&) {});
    }
    if (matches.empty()) return false;
    const std::size_t next = static_cast<std::size_t>(after + 1) % matches.size();
    m_pane.SelectNode(m_pane.NodeOfItem(matches[next]));
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
