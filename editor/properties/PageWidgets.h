// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <initializer_list>

class IDialogService;
class QAbstractButton;
class QFocusEvent;
class QLineEdit;
class QWidget;

// Small helpers the pages and dialogs share for lists, radio groups and file choosers.
namespace kestrune::widgets {

template <typename List>
void FillList(QComboBox* box, const List& entries) {
    box->clear();
    for (const char* entry : entries) box->addItem(QString::fromLatin1(entry));
}

// A stored value outside the list selects nothing rather than a wrong entry.
void SelectIndex(QComboBox* box, int value);
// The selected position, or fallback when nothing is selected.
int SelectedIndex(const QComboBox* box, int fallback);

void CheckRadio(std::initializer_list<QAbstractButton*> group, int value);
int CheckedRadio(std::initializer_list<QAbstractButton*> group, int fallback);

// Whether a focus change leaves the box for good (within the window or to another window,
// not to the box's own pop-up), the moments when a box that stores itself should do so.
bool LeavesWithinWindow(const QFocusEvent* event);

// F1 without modifiers: a request for the help topic of the window that has the focus.
bool IsHelpKey(const QEvent* event);

// Opens the file chooser proposing the box's text; a chosen file replaces the text.
// Where a file chooser starts: the current value (its folder) when that folder exists,
// else the fallback folder.
QString ChooserStart(const QString& current, const QString& fallbackFolder);
void BrowseForFile(IDialogService& dialogs, QWidget* parent, QLineEdit* box, const char* filter,
                   const QString& fallbackFolder = {});

}  // namespace kestrune::widgets
