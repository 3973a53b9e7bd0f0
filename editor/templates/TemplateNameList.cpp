// SPDX-License-Identifier: GPL-3.0-or-later
#include "templates/TemplateNameList.h"

#include <QListWidget>

#include "app/TextConvert.h"

QStringList ToQtNames(const std::vector<std::string>& names) {
    QStringList qtNames;
    for (const std::string& name : names) qtNames.append(kestrune::convert::ToQt(name));
    return qtNames;
}

std::vector<std::string> ToStoreNames(const QStringList& names) {
    std::vector<std::string> storeNames;
    for (const QString& name : names) storeNames.push_back(kestrune::convert::FromQt(name));
    return storeNames;
}

void FillTemplateList(QListWidget* list, const QStringList& names) {
    list->clear();
    list->addItems(names);
}

int SelectedPosition(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void SelectPosition(QListWidget* list, int position) {
    if (position < 0 || position >= list->count()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
}
