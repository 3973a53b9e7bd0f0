// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>
#include <functional>

// The in-place editor of the menu tree. It never writes into the tree itself: the text
// goes to rename, which renames through the document, and the node follows the model.
// A text that accept refuses (it says why) keeps the editor open with what was typed.
class CRenameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Rename = std::function<bool(const QModelIndex& node, const QString& text)>;
    using Accept = std::function<bool(const QString& text)>;
    CRenameDelegate(QObject* parent, Rename rename, Accept accept);

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    Rename m_rename;
    Accept m_accept;
    bool m_refusing = false;  // while accept says why: the editor loses the focus to its message
};
