// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppletSizeEdit.h"

#include "app/KestruneDoc.h"
#include "app/UndoTexts.h"
#include "model/AppletParameters.h"

bool SetAppletSize(CKestruneDoc& doc, kestrune::AppletSize size, const QString& text) {
    kestrune::CAppletParameters& applet = doc.Applet();
    return doc.EditProperties(
        [&] {
            if (applet.m_appWidth == size.width && applet.m_appHeight == size.height) return false;
            applet.m_appWidth = size.width;
            applet.m_appHeight = size.height;
            return true;
        },
        nullptr, nullptr, text, CKestruneDoc::Reach::NamedObjects);
}

// The recommendation measures the menus' area; menus placed away from the applet's corner
// need that much more, or they stay cut.
bool FitAppletToMenus(CKestruneDoc& doc) {
    return SetAppletSize(doc, kestrune::SizeMenusNeed(doc.Applet()), undotexts::kFitAppletSize);
}
