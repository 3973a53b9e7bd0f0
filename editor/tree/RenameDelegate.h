// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

class CKestruneView;

// The in-place editor of the menu tree. It never writes into the tree itself: the text
// goes to the view, which renames through the document, and the node follows the model.
class CRenameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CRenameDelegate(CKestruneView& view);

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    CKestruneView& m_view;
};
