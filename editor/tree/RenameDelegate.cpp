// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/RenameDelegate.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

CRenameDelegate::CRenameDelegate(QObject* parent, Rename rename, Accept accept)
    : QStyledItemDelegate(parent), m_rename(std::move(rename)), m_accept(std::move(accept)) {}

void CRenameDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) m_rename(index, line->text());
}

namespace {
bool Confirms(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
}
}  // namespace

// Enter with a refused text says why and stays open; the message takes the focus meanwhile.
bool CRenameDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* line = qobject_cast<QLineEdit*>(object);
    if (line && event->type() == QEvent::FocusOut && m_refusing) return true;
    if (line && Confirms(event) && m_accept) {
        m_refusing = true;
        const bool accepted = m_accept(line->text());
        m_refusing = false;
        if (!accepted) {
            line->setFocus();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
