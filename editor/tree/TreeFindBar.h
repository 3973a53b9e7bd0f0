#pragma once

#include <QWidget>

class CKestruneView;
class QLineEdit;
class QTreeWidgetItem;

// The find line above the menu tree: while it holds text the tree shows only the items
// whose label, description or link contain it (any letter case), with their ancestors.
// Enter and F3 select the next shown match; Escape empties the line and hides it.
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
    bool Matches(const QTreeWidgetItem* node) const;

    CKestruneView& m_view;
    QLineEdit* m_edit;
};
