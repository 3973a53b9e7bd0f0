// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPersistentModelIndex>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <vector>

class CKestruneView;
class QLabel;
class QLineEdit;
namespace kestrune {
class CVoraneItem;
}

// The find line above the menu tree: while it holds text the tree shows only the items
// whose label, description or link contain it (any letter case), with their ancestors.
// Enter and F3 select the next match; Escape empties the line and hides it, leaving the
// tree expanded as before the search and the found item selected. Matches are searched in
// the document itself, so items the tree never showed are found too. The tree is filtered
// in slices between keystrokes, so typing never waits for a big menu.
class CTreeFindBar : public QWidget {
    Q_OBJECT
public:
    CTreeFindBar(CKestruneView& view, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return m_edit; }
    // "No match", "12 found" or, after a step to a match, "3 of 12".
    QString Status() const;
    bool IsFiltering() const;
    // Shows the line and puts the keyboard into it.
    void Open();
    // Empties and hides the line; every node is shown again.
    void Close();
    // Selects the next matching node after the selected one, wrapping; false when none.
    bool FindNext();
    // Filters the nodes again (the text changed, or the tree did), slice by slice.
    void ApplyFilter();
    // Whether a filter is still being applied to the tree.
    bool IsBusy() const { return m_slices.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Matches(const kestrune::CVoraneItem& item) const;
    void ShowEveryRow();
    // Hides what the filter does not show, for as long as the slice's time lasts; false
    // when all is done.
    bool FilterSlice();
    void RememberExpansion();
    void RestoreExpansion();

    struct PendingNode {
        QPersistentModelIndex node;
        int nextRow;
    };

    CKestruneView& m_view;
    QLineEdit* m_edit;
    QLabel* m_status;
    // The rows the filter hid, shown again when it changes.
    std::vector<QPersistentModelIndex> m_hiddenRows;
    QSet<const void*> m_shown;          // the objects the current filter shows
    std::vector<PendingNode> m_pending;  // nodes whose rows are still to be filtered
    int m_found = 0;
    QTimer m_slices;
    // The nodes expanded when the search began, expanded again (and only they) when it ends.
    std::vector<QPersistentModelIndex> m_expandedBefore;
    bool m_expansionKept = false;
};
