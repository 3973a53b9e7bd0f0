// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"
#include "support/FakeDialogService.h"
#include "tree/KestruneView.h"

// An application object, a document and a tree view over a model the test fills.
struct EditorFixture {
    explicit EditorFixture(const QString& appDir = QStringLiteral("/nonexistent/kestrune"))
        : app(appDir, dialogs, settings), doc(app), view(doc) {}

    // Refills the model as New and Open do; the view rebuilds and the flag is cleared.
    void Load(const std::function<void(kestrune::CAppletParameters&)>& fill) {
        doc.ReplaceModel([&](kestrune::CAppletParameters& applet) {
            applet.Reset();
            fill(applet);
            return true;
        });
        doc.SetModifiedFlag(false);
    }

    kestrune::CAppletParameters& Applet() { return app.m_applet; }
    QModelIndex Node(const void* object) const { return view.NodeOfItem(object); }

    FakeDialogService dialogs;
    kestrune::MemorySettingsStore settings;
    CKestruneApp app;
    CKestruneDoc doc;
    CKestruneView view;
};

// Appends an item to a menu and returns it.
inline kestrune::CVoraneItem* AddItem(kestrune::CVorane& menu, const char* label, int visible = 1) {
    auto item = std::make_unique<kestrune::CVoraneItem>(label);
    item->m_visible = visible;
    kestrune::CVoraneItem* raw = item.get();
    menu.AddItem(std::move(item), 0);
    return raw;
}

inline kestrune::CVorane* AddMenu(kestrune::CAppletParameters& applet, const char* name) {
    auto menu = std::make_unique<kestrune::CVorane>(0, name);
    kestrune::CVorane* raw = menu.get();
    applet.m_menus.push_back(std::move(menu));
    return raw;
}
