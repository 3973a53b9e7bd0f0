// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>
#include <functional>

// The in-place editor of the menu tree. It never writes into the tree itself: the text
// goes to rename, which renames through the document, and the node follows the model.
class CRenameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Rename = std::function<bool(const QModelIndex& node, const QString& text)>;
    CRenameDelegate(QObject* parent, Rename rename);

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    Rename m_rename;
};
