// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPersistentModelIndex>
#include <QWidget>
#include <vector>

class CKestruneView;
class QLineEdit;
namespace kestrune {
class CVoraneItem;
}

// The find line above the menu tree: while it holds text the tree shows only the items
// whose label, description or link contain it (any letter case), with their ancestors.
// Enter and F3 select the next match; Escape empties the line and hides it. Matches are
// searched in the document itself, so items the tree never showed are found too.
class CTreeFindBar : public QWidget {
    Q_OBJECT
public:
    CTreeFindBar(CKestruneView& view, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return m_edit; }
    bool IsFiltering() const;
    // Shows the line and puts the keyboard into it.
    void Open();
    // Empties and hides the line; every node is shown again.
    void Close();
    // Selects the next matching node after the selected one, wrapping; false when none.
    bool FindNext();
    // Filters the nodes again (the text changed, or the tree did).
    void ApplyFilter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Matches(const kestrune::CVoraneItem& item) const;
    void ShowEveryRow();

    CKestruneView& m_view;
    QLineEdit* m_edit;
    // The rows the filter hid, shown again when it changes.
    std::vector<QPersistentModelIndex> m_hiddenRows;
};
