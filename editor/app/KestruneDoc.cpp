#include "app/KestruneDoc.h"

#include <QFileInfo>

#include "app/KestruneApp.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

using namespace kestrune;

CKestruneDoc::CKestruneDoc(CKestruneApp& app, QObject* parent) : QObject(parent), m_app(app) {}

CAppletParameters& CKestruneDoc::Applet() const { return m_app.m_applet; }

void CKestruneDoc::SetModifiedFlag(bool modified) {
    if (m_modified == modified) return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void CKestruneDoc::SetPathName(const QString& path) {
    m_pathName = path;
    emit titleChanged(Title());
}

QString CKestruneDoc::Title() const {
    return m_pathName.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_pathName).fileName();
}

void CKestruneDoc::Announce(const ModelChange& change) {
    SetModifiedFlag(true);
    emit modelChanged(change);
}

CVorane* CKestruneDoc::InsertTopLevelMenu() {
    CVorane* menu = Applet().NewTopLevelMenu();
    Announce({ModelChange::MenuInserted, menu, nullptr, 0});
    return menu;
}

CVoraneItem* CKestruneDoc::InsertItem(CVorane* menu, const CVorane* styleSource) {
    if (!menu) return nullptr;
    if (styleSource && styleSource != menu) menu->CopyStyle(*styleSource);
    CVoraneItem* item = menu->InsertNewItem();
    Announce({ModelChange::ItemInserted, menu, item, 0});
    return item;
}

bool CKestruneDoc::RemoveTopLevelMenu(CVorane* menu) {
    const int index = Applet().IndexOfTopLevelMenu(menu);
    if (index < 0) return false;
    m_app.ForgetIfInside(menu, nullptr);
    Applet().RemoveTopLevelMenu(menu);
    Announce({ModelChange::MenuRemoved, menu, nullptr, index});
    return true;
}

bool CKestruneDoc::RemoveItem(CVorane* container, CVoraneItem* item) {
    if (!container) return false;
    const int index = container->IndexOf(item);
    if (index < 0) return false;
    m_app.ForgetIfInside(nullptr, item);
    container->RemoveItemAt(index);
    Announce({ModelChange::ItemRemoved, container, item, index});
    return true;
}

bool CKestruneDoc::SetVisible(CVorane* topLevelMenu, bool visible) {
    if (!topLevelMenu) return false;
    topLevelMenu->m_visible = visible ? 1 : 0;
    Announce({ModelChange::VisibilityChanged, topLevelMenu, nullptr, -1});
    return true;
}

bool CKestruneDoc::SetVisible(CVoraneItem* item, bool visible) {
    if (!item) return false;
    item->m_visible = visible ? 1 : 0;
    Announce({ModelChange::VisibilityChanged, nullptr, item, -1});
    return true;
}

bool CKestruneDoc::MoveTopLevelMenu(CVorane* menu, int delta) {
    auto& menus = Applet().m_menus;
    const int index = Applet().IndexOfTopLevelMenu(menu);
    const int target = index + delta;
    if (index < 0 || (delta != 1 && delta != -1) || target < 0 || target >= static_cast<int>(menus.size()))
        return false;
    std::swap(menus[static_cast<std::size_t>(index)], menus[static_cast<std::size_t>(target)]);
    Announce({ModelChange::MenuMoved, menu, nullptr, target});
    return true;
}

bool CKestruneDoc::MoveItem(CVorane* container, CVoraneItem* item, int delta) {
    if (!container || (delta != 1 && delta != -1)) return false;
    const int moved = delta < 0 ? container->MoveItemUp(item) : container->MoveItemDown(item);
    if (!moved) return false;
    Announce({ModelChange::ItemMoved, container, item, container->IndexOf(item)});
    return true;
}

CVoraneItem* CKestruneDoc::InsertCopy(CVorane* target, const CVoraneItem& item, const CVorane* styleSource) {
    if (!target) return nullptr;
    if (styleSource && styleSource != target) target->CopyStyle(*styleSource);
    CVoraneItem* copy = target->InsertCopy(&item);
    Announce({ModelChange::ItemInserted, target, copy, 0});
    return copy;
}

bool CKestruneDoc::EditProperties(const std::function<bool()>& write, CVorane* menu, CVoraneItem* item) {
    if (!write()) return false;
    Announce({ModelChange::PropertiesChanged, menu, item, -1});
    return true;
}

bool CKestruneDoc::ReplaceModel(const std::function<bool(CAppletParameters&)>& fill) {
    // The editing context may point into the old model while fill() runs: keep nothing.
    CVorane* curMenu = m_app.m_pCurMenu;
    CVoraneItem* curItem = m_app.m_pCurItem;
    m_app.ClearEditingContext();
    if (!fill(Applet())) {
        m_app.m_pCurMenu = curMenu;
        m_app.m_pCurItem = curItem;
        return false;
    }
    emit modelChanged({ModelChange::Reset, nullptr, nullptr, -1});
    return true;
}
