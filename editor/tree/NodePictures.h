// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// How a model object shows as a node of the menu tree: its picture, which says its kind
// and whether it is visible, and its text.
namespace treenodes {

enum Picture {
    kPictureRoot = 0,
    kPictureMenu = 1,        // top-level menu, visible; hidden is +1
    kPictureSubMenuItem = 3, // item whose sub menu holds items; hidden is +1
    kPicturePlainItem = 5,   // item without sub menu items; hidden is +1
    kPictureCount = 7,
};

enum Kind { kKindNone = -1, kKindRoot = 0, kKindMenu = 1, kKindSubMenuItem = 3, kKindPlainItem = 5 };

// The kind a picture stands for; a number outside the seven pictures is no kind.
int KindOfPicture(int picture);
bool IsItemKind(int kind);

int PictureOfMenu(const kestrune::CVorane& menu);
int PictureOfItem(const kestrune::CVoraneItem& item);
// The same picture with the visible/hidden half chosen by `visible`.
int WithVisibility(int picture, bool visible);

const QIcon& IconOfPicture(int picture);

QString TextOfApplet(const kestrune::CAppletParameters& applet);
QString TextOfMenu(const kestrune::CVorane& menu);
QString TextOfItem(const kestrune::CVoraneItem& item);

// Whether the picture is the hidden half of a pair (a cross on it).
bool IsHiddenPicture(int picture);

}  // namespace treenodes
