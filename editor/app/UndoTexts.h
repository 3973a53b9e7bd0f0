// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The names of the undoable steps, shown after "Undo " and "Redo " in the Edit menu.
namespace undotexts {
inline const QString kUndoPrefix = QStringLiteral("&Undo");
inline const QString kRedoPrefix = QStringLiteral("&Redo");
inline const QString kUndoPrompt = QStringLiteral("Undo the last action");
inline const QString kRedoPrompt = QStringLiteral("Redo the previously undone action");
inline const QString kInsertMenu = QStringLiteral("Insert Menu");
inline const QString kInsertItem = QStringLiteral("Insert Item");
inline const QString kDeleteMenu = QStringLiteral("Delete Menu");
inline const QString kDeleteItem = QStringLiteral("Delete Item");
inline const QString kHideMenu = QStringLiteral("Hide Menu");
inline const QString kShowMenu = QStringLiteral("Show Menu");
inline const QString kHideItem = QStringLiteral("Hide Item");
inline const QString kShowItem = QStringLiteral("Show Item");
inline const QString kMoveMenu = QStringLiteral("Move Menu");
inline const QString kMoveItemUp = QStringLiteral("Move Item Up");
inline const QString kMoveItemDown = QStringLiteral("Move Item Down");
inline const QString kCutItem = QStringLiteral("Cut Item");
inline const QString kPasteItem = QStringLiteral("Paste Item");
inline const QString kMoveItem = QStringLiteral("Move Item");
inline const QString kCopyItem = QStringLiteral("Copy Item");
inline const QString kRenameItem = QStringLiteral("Rename Item");
inline const QString kRenameApplet = QStringLiteral("Rename Applet");
inline const QString kFitAppletSize = QStringLiteral("Fit Applet Size");
inline const QString kChangeProperties = QStringLiteral("Change Properties");
inline const QString kChangeImages = QStringLiteral("Change Images");
inline const QString kChangeSounds = QStringLiteral("Change Sounds");
inline const QString kChangeFont = QStringLiteral("Change Font");
inline const QString kRelinkMedia = QStringLiteral("Relink Moved Media");
inline const QString kApplyStyleToSubMenus = QStringLiteral("Apply Style to Sub Menus");
inline const QString kCopyToOtherStates = QStringLiteral("Copy to Other States");
inline const QString kAutoChangeSize = QStringLiteral("Auto-Change Size");

// "Edit Item Page" and the like: the page's caption without its mnemonic.
inline QString PageEdit(const QString& caption) {
    return QStringLiteral("Edit %1").arg(QString(caption).remove(QLatin1Char('&')));
}
}  // namespace undotexts
