// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/RenameDelegate.h"

#include <QLineEdit>

#include "tree/KestruneView.h"

CRenameDelegate::CRenameDelegate(CKestruneView& view) : QStyledItemDelegate(&view), m_view(view) {}

void CRenameDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) m_view.RenameNode(index, line->text());
}
