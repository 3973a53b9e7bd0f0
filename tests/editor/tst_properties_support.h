// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared set-up of the property page, dialog and frame tests.

#include <QFocusEvent>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"
#include "support/FakeDialogService.h"

// Records what the file choosers were asked for, besides answering like the fake.
class RecordingDialogs : public FakeDialogService {
public:
    QStringList proposedNames;
    QStringList filters;
    std::vector<QColor> initialColors;

    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                            const QString& filter) override {
        proposedNames << folder;
        filters << filter;
        return FakeDialogService::GetOpenFileName(parent, caption, folder, filter);
    }
    std::optional<QColor> GetColor(QWidget* parent, const QColor& initial) override {
        initialColors.push_back(initial);
        return FakeDialogService::GetColor(parent, initial);
    }
};

struct EditorEnv {
    RecordingDialogs dialogs;
    kestrune::MemorySettingsStore settings;
    CKestruneApp app{QString(), dialogs, settings};
    CKestruneDoc doc{app};

    kestrune::CAppletParameters& Applet() { return app.m_applet; }
    // The editing context a sheet would set for item of menu.
    void Edit(kestrune::CVorane* menu, kestrune::CVoraneItem* item) {
        doc.m_pCurMenu = menu;
        doc.m_pCurItem = item;
    }
};

// Appends a top-level menu with the given item labels.
inline kestrune::CVorane* AddMenu(kestrune::CAppletParameters& applet, std::initializer_list<const char*> labels) {
    auto menu = std::make_unique<kestrune::CVorane>(0, kestrune::kTopLevelMenuName);
    for (const char* label : labels) menu->AddItem(std::make_unique<kestrune::CVoraneItem>(label), 0);
    kestrune::CVorane* raw = menu.get();
    applet.m_menus.push_back(std::move(menu));
    return raw;
}

// Gives item a sub menu with the given item labels.
inline kestrune::CVorane* AddSubMenu(kestrune::CVoraneItem* item, std::initializer_list<const char*> labels) {
    for (const char* label : labels) item->m_subMenu->AddItem(std::make_unique<kestrune::CVoraneItem>(label), 0);
    return item->m_subMenu.get();
}

// A page's or dialog's control by its object name in the layout.
template <typename T>
T* Find(QObject* root, const char* name) {
    T* child = root->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

// A focus change inside the window, as when the user tabs or clicks to another box.
inline void LeaveBox(QWidget* box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}
