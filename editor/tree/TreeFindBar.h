// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>
#include <vector>

class ITreePane;
class QLabel;
class QLineEdit;

// The find line above the menu tree: while it holds text the tree shows only the items
// whose label, description or link contain it (any letter case), with their ancestors.
// Enter and F3 select the next match; Escape empties the line and hides it, leaving the
// tree expanded as before the search and the found item selected. Matches are searched in
// the document itself, so items the tree never showed are found too. The tree's model does
// the filtering, so a keystroke costs one pass over the document's texts and what the
// first screens show, however many rows the filter keeps.
class CTreeFindBar : public QWidget {
    Q_OBJECT
public:
    CTreeFindBar(ITreePane& pane, QWidget* parent = nullptr);

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
    // Filters the tree again for the line's text.
    void ApplyFilter();
    // Whether a filter waits for the typing to pause: on a document where filtering takes
    // longer than a keystroke may, keys are taken at once and the tree follows the pause.
    bool IsWaiting() const { return m_pause.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ExpandFirstScreens();
    void ShowCount();
    void RememberExpansion();
    void RestoreExpansion();
    void TextChanged();

    ITreePane& m_pane;
    QLineEdit* m_edit;
    QLabel* m_status;
    // The objects whose nodes were expanded when the search began, expanded again (and only
    // they) when it ends.
    std::vector<const void*> m_expandedBefore;
    bool m_expansionKept = false;
    QString m_filteredFor;  // the text the tree's filter was set for
    QTimer m_pause;
    qint64 m_lastFilterMs = 0;
};
