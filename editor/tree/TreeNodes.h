#pragma once

#include <QIcon>
#include <QString>

class QTreeWidgetItem;
namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// What a node of the menu tree is and what it points at. The node's picture says its kind
// and whether its element is visible; its data holds the model object it shows.
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

// Node construction and reading.
QTreeWidgetItem* MakeNode(int picture, const QString& text, const void* object,
                          const kestrune::CVorane* ownedSubMenu = nullptr);
int GetNodePicture(const QTreeWidgetItem* node);
// Whether the picture is the hidden half of a pair (a cross on it).
bool IsHiddenPicture(int picture);
// The node's text colour: greyed when its menu or item is hidden.
void ApplyNodeLook(QTreeWidgetItem* node);
void SetNodePicture(QTreeWidgetItem* node, int picture);
// Without a node (no selection) the kind is the root's, as the tree control reports it.
int GetNodeKind(const QTreeWidgetItem* node);
int GetNodeDepth(const QTreeWidgetItem* node);
const void* ObjectOfNode(const QTreeWidgetItem* node);
// For an item node: the sub menu the node was built with (a key even after the item is gone).
const kestrune::CVorane* SubMenuKeyOfNode(const QTreeWidgetItem* node);

kestrune::CAppletParameters* AppletOfNode(const QTreeWidgetItem* node);
kestrune::CVorane* MenuOfNode(const QTreeWidgetItem* node);
kestrune::CVoraneItem* ItemOfNode(const QTreeWidgetItem* node);
// The model menu that holds an item node's item: a top-level menu or a parent item's sub menu.
kestrune::CVorane* ContainerOfNode(const QTreeWidgetItem* node);

// Whether `node` lies below `ancestor` (a node is not below itself).
bool IsDescendant(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* node);

// The style a plain item's new sub menu takes (kestrune::SubMenuStyleSource for the node's place).
kestrune::CVorane* FindSubMenuStyle(const kestrune::CAppletParameters& applet, const QTreeWidgetItem* node);

}  // namespace treenodes
