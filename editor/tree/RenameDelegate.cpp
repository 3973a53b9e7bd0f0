// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/RenameDelegate.h"

#include <QLineEdit>
#include <utility>

CRenameDelegate::CRenameDelegate(QObject* parent, Rename rename)
    : QStyledItemDelegate(parent), m_rename(std::move(rename)) {}

void CRenameDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) m_rename(index, line->text());
}
