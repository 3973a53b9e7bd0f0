// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <string>
#include <vector>

class QListWidget;

// The template names as the dialogs show them, and back as the store's name rules want them.
QStringList ToQtNames(const std::vector<std::string>& names);
std::vector<std::string> ToStoreNames(const QStringList& names);
// Refills a list box with the names in list order; the selection is left to the caller.
void FillTemplateList(QListWidget* list, const QStringList& names);
// The selected position of a single-selection list box, -1 when none.
int SelectedPosition(const QListWidget* list);
void SelectPosition(QListWidget* list, int position);
