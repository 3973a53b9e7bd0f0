// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFileInfo>
#include "properties/PageWidgets.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/DialogService.h"
#include "app/TextConvert.h"

namespace kestrune::widgets {

void SelectIndex(QComboBox* box, int value) {
    box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
}

int SelectedIndex(const QComboBox* box, int fallback) {
    const int index = box->currentIndex();
    return index >= 0 ? index : fallback;
}

void CheckRadio(std::initializer_list<QAbstractButton*> group, int value) {
    int position = 0;
    for (QAbstractButton* button : group) {
        if (position == value) {
            button->setChecked(true);
        } else if (button->isChecked()) {
            // Auto-exclusive buttons refuse to be unchecked directly.
            const bool exclusive = button->autoExclusive();
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(exclusive);
        }
        ++position;
    }
}

int CheckedRadio(std::initializer_list<QAbstractButton*> group, int fallback) {
    int position = 0;
    for (QAbstractButton* button : group) {
        if (button->isChecked()) return position;
        ++position;
    }
    return fallback;
}

bool LeavesWithinWindow(const QFocusEvent* event) {
    // Clicking into the tree (another window) leaves the box as well; only the box's own
    // pop-up menu does not.
    return event->reason() != Qt::PopupFocusReason;
}

bool IsHelpKey(const QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier;
}

QString ChooserStart(const QString& current, const QString& fallbackFolder) {
    if (!current.isEmpty() && QFileInfo(current).absoluteDir().exists()) return current;
    return fallbackFolder;
}

void BrowseForFile(IDialogService& dialogs, QWidget* parent, QLineEdit* box, const char* filter,
                   const QString& fallbackFolder) {
    const QString chosen = dialogs.GetOpenFileName(parent, QString(), ChooserStart(box->text(), fallbackFolder),
                                                   convert::ToQtFileFilter(filter));
    if (!chosen.isEmpty()) box->setText(chosen);
}

}  // namespace kestrune::widgets
