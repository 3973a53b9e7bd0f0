// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KestruneDoc.h"

#include <QFileInfo>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <QStringList>
#include <optional>

#include "app/KestruneApp.h"
#include "model/AppletParameters.h"
#include "model/SubMenuStyle.h"
#include "model/VoraneItem.h"
#include "app/DocCommands.h"
#include "app/TextConvert.h"
#include "app/UndoTexts.h"

using namespace kestrune;

namespace {
QString Named(const QString& text, const QString& usual) { return text.isEmpty() ? usual : text; }

bool MenuHolds(const CVorane* menu, const void* target) {
    if (!menu) return false;
    if (menu == target) return true;
    for (const auto& item : menu->m_items)
        if (item.get() == target || MenuHolds(item->m_subMenu.Existing(), target)) return true;
    return false;
}
}  // namespace

#ifdef NDEBUG
constexpr bool kDebugBuild = false;
#else
constexpr bool kDebugBuild = true;
#endif

CKestruneDoc::CKestruneDoc(CKestruneApp& app, QObject* parent)
    : QObject(parent), m_app(app),
      m_checkNamedWrites(kDebugBuild || qEnvironmentVariableIsSet("KESTRUNE_CHECK_NAMED_WRITES")) {
    connect(&m_undoStack, &QUndoStack::indexChanged, this, [this] {
        m_modifiedWithoutStep = false;
        UpdateModified();
    });
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, &CKestruneDoc::UpdateModified);
}

CAppletParameters& CKestruneDoc::Applet() const { return m_app.m_applet; }

void CKestruneDoc::SetModifiedFlag(bool modified) {
    if (modified) {
        m_modifiedWithoutStep = true;
    } else {
        m_modifiedWithoutStep = false;
        m_undoStack.setClean();
    }
    UpdateModified();
}

void CKestruneDoc::UpdateModified() {
    const bool modified = m_modifiedWithoutStep || !m_undoStack.isClean();
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

void CKestruneDoc::Announce(const ModelChange& change) { emit modelChanged(change); }
void CKestruneDoc::AnnounceComing(const ModelChange& change) { emit modelAboutToChange(change); }

// --- Steps ----------------------------------------------------------------------------

void CKestruneDoc::Push(QUndoCommand* command) {
    const QScopedValueRollback busy(m_busy, m_busy + 1);
    m_undoStack.push(command);  // the stack owns it and does it at once
}

void CKestruneDoc::BeginStep(const QString& text) { m_undoStack.beginMacro(text); }
void CKestruneDoc::EndStep() { m_undoStack.endMacro(); }

void CKestruneDoc::Undo() {
    if (m_busy || !m_undoStack.canUndo()) return;
    const QScopedValueRollback busy(m_busy, m_busy + 1);
    const QScopedValueRollback replaying(m_replaying, true);
    m_undoStack.undo();
}

void CKestruneDoc::Redo() {
    if (m_busy || !m_undoStack.canRedo()) return;
    const QScopedValueRollback busy(m_busy, m_busy + 1);
    const QScopedValueRollback replaying(m_replaying, true);
    m_undoStack.redo();
}

// --- Primitives -----------------------------------------------------------------------

void CKestruneDoc::PutMenu(int index, std::unique_ptr<CVorane> menu) {
    auto& menus = Applet().m_menus;
    index = std::clamp(index, 0, static_cast<int>(menus.size()));
    CVorane* placed = menu.get();
    AnnounceComing({ModelChange::MenuInserted, placed, nullptr, index});
    menus.insert(menus.begin() + index, std::move(menu));
    Announce({ModelChange::MenuInserted, placed, nullptr, index});
}

std::unique_ptr<CVorane> CKestruneDoc::TakeMenu(int index) {
    auto& menus = Applet().m_menus;
    if (index < 0 || index >= static_cast<int>(menus.size())) return nullptr;
    AnnounceComing({ModelChange::MenuRemoved, menus[static_cast<std::size_t>(index)].get(), nullptr, index});
    std::unique_ptr<CVorane> menu = std::move(menus[static_cast<std::size_t>(index)]);
    menus.erase(menus.begin() + index);
    ForgetIfInside(menu.get(), nullptr);
    Announce({ModelChange::MenuRemoved, menu.get(), nullptr, index});
    return menu;
}

void CKestruneDoc::PutItem(CVorane* container, int index, std::unique_ptr<CVoraneItem> item,
                           const CVoraneItem* owner) {
    auto& items = container->m_items;
    index = std::clamp(index, 0, static_cast<int>(items.size()));
    CVoraneItem* placed = item.get();
    ModelChange change{ModelChange::ItemInserted, container, placed, index};
    change.owner = owner;
    AnnounceComing(change);
    items.insert(items.begin() + index, std::move(item));
    Announce(change);
}

std::unique_ptr<CVoraneItem> CKestruneDoc::TakeItem(CVorane* container, int index) {
    auto& items = container->m_items;
    if (index < 0 || index >= static_cast<int>(items.size())) return nullptr;
    AnnounceComing({ModelChange::ItemRemoved, container, items[static_cast<std::size_t>(index)].get(), index});
    std::unique_ptr<CVoraneItem> item = std::move(items[static_cast<std::size_t>(index)]);
    items.erase(items.begin() + index);
    ForgetIfInside(nullptr, item.get());
    Announce({ModelChange::ItemRemoved, container, item.get(), index});
    return item;
}

void CKestruneDoc::SwapNeighbours(CVorane* container, int from, int to) {
    if (!container) {
        auto& menus = Applet().m_menus;
        AnnounceComing({ModelChange::MenuMoved, menus[static_cast<std::size_t>(from)].get(), nullptr, to});
        std::swap(menus[static_cast<std::size_t>(from)], menus[static_cast<std::size_t>(to)]);
        Announce({ModelChange::MenuMoved, menus[static_cast<std::size_t>(to)].get(), nullptr, to});
        return;
    }
    auto& items = container->m_items;
    AnnounceComing({ModelChange::ItemMoved, container, items[static_cast<std::size_t>(from)].get(), to});
    std::swap(items[static_cast<std::size_t>(from)], items[static_cast<std::size_t>(to)]);
    Announce({ModelChange::ItemMoved, container, items[static_cast<std::size_t>(to)].get(), to});
}

// --- Edits ----------------------------------------------------------------------------

CVorane* CKestruneDoc::InsertTopLevelMenu(int index) {
    if (m_busy || index < 0 || index > static_cast<int>(Applet().m_menus.size())) return nullptr;
    // The model styles and places a new menu; the step then owns it until it is put in.
    auto& menus = Applet().m_menus;
    Applet().NewTopLevelMenu();
    std::unique_ptr<CVorane> menu = std::move(menus.front());
    menus.erase(menus.begin());
    CVorane* raw = menu.get();
    Push(new CPlaceMenuCommand(*this, undotexts::kInsertMenu, index, std::move(menu)));
    return raw;
}

CVoraneItem* CKestruneDoc::InsertItem(CVorane* menu, const CVorane* styleSource, const CVoraneItem* owner,
                                      int index) {
    if (!menu || m_busy || index < 0 || index > static_cast<int>(menu->m_items.size())) return nullptr;
    auto item = std::make_unique<CVoraneItem>();
    CVoraneItem* raw = item.get();
    BeginStep(undotexts::kInsertItem);
    if (styleSource && styleSource != menu)
        EditProperties([&] { menu->CopyStyle(*styleSource); return true; }, menu, nullptr, undotexts::kInsertItem,
                       Reach::NamedObjects);
    Push(new CPlaceItemCommand(*this, undotexts::kInsertItem, menu, index, std::move(item), owner));
    EndStep();
    return raw;
}

bool CKestruneDoc::ApplyStyleToSubMenus(CVorane* menu) {
    if (!menu) return false;
    // Many menus change: announced as a change of anything, so every listener reads afresh.
    return EditProperties([menu] { return kestrune::ApplyStyleToSubMenus(*menu) > 0; }, nullptr, nullptr,
                          undotexts::kApplyStyleToSubMenus);
}

bool CKestruneDoc::RemoveTopLevelMenu(CVorane* menu) {
    const int index = Applet().IndexOfTopLevelMenu(menu);
    if (index < 0 || m_busy) return false;
    Push(new CPlaceMenuCommand(*this, undotexts::kDeleteMenu, index, nullptr));
    return true;
}

bool CKestruneDoc::RemoveItem(CVorane* container, CVoraneItem* item, const QString& text) {
    if (!container || m_busy) return false;
    const int index = container->IndexOf(item);
    if (index < 0) return false;
    Push(new CPlaceItemCommand(*this, Named(text, undotexts::kDeleteItem), container, index, nullptr));
    return true;
}

bool CKestruneDoc::SetVisible(CVorane* topLevelMenu, bool visible) {
    if (!topLevelMenu || m_busy) return false;
    Push(new CSetVisibleCommand(*this, visible ? undotexts::kShowMenu : undotexts::kHideMenu, topLevelMenu, nullptr,
                                visible));
    return true;
}

bool CKestruneDoc::SetVisible(CVoraneItem* item, bool visible) {
    if (!item || m_busy) return false;
    Push(new CSetVisibleCommand(*this, visible ? undotexts::kShowItem : undotexts::kHideItem, nullptr, item, visible));
    return true;
}

bool CKestruneDoc::MoveTopLevelMenu(CVorane* menu, int delta) {
    const int count = static_cast<int>(Applet().m_menus.size());
    const int index = Applet().IndexOfTopLevelMenu(menu);
    const int target = index + delta;
    if (m_busy || index < 0 || (delta != 1 && delta != -1) || target < 0 || target >= count) return false;
    Push(new CSwapNeighboursCommand(*this, undotexts::kMoveMenu, nullptr, index, target));
    return true;
}

bool CKestruneDoc::MoveItem(CVorane* container, CVoraneItem* item, int delta) {
    if (!container || m_busy || (delta != 1 && delta != -1)) return false;
    const int index = container->IndexOf(item);
    const int target = index + delta;
    if (index < 0 || target < 0 || target >= static_cast<int>(container->m_items.size())) return false;
    Push(new CSwapNeighboursCommand(*this, delta < 0 ? undotexts::kMoveItemUp : undotexts::kMoveItemDown, container,
                                    index, target));
    return true;
}

CVoraneItem* CKestruneDoc::InsertCopy(CVorane* target, const CVoraneItem& item, const CVorane* styleSource,
                                      const QString& text, const CVoraneItem* owner) {
    if (!target || m_busy) return nullptr;
    // The copy is complete before it is placed, so copying an item into itself is finite.
    auto copy = std::make_unique<CVoraneItem>(item);
    CVoraneItem* raw = copy.get();
    const QString name = Named(text, undotexts::kPasteItem);
    BeginStep(name);
    if (styleSource && styleSource != target)
        EditProperties([&] { target->CopyStyle(*styleSource); return true; }, target, nullptr, name,
                       Reach::NamedObjects);
    Push(new CPlaceItemCommand(*this, name, target, 0, std::move(copy), owner));
    EndStep();
    return raw;
}

CVoraneItem* CKestruneDoc::InsertCopyAt(CVorane* target, int index, const CVoraneItem& item, const QString& text) {
    if (!target || m_busy || index < 0 || index > static_cast<int>(target->m_items.size())) return nullptr;
    auto copy = std::make_unique<CVoraneItem>(item);
    CVoraneItem* raw = copy.get();
    Push(new CPlaceItemCommand(*this, Named(text, undotexts::kPasteItem), target, index, std::move(copy)));
    return raw;
}

bool CKestruneDoc::EditProperties(const std::function<bool()>& write, CVorane* menu, CVoraneItem* item,
                                  const QString& text, Reach reach) {
    if (m_busy) return false;
    const CPropertySnapshot before = reach == Reach::NamedObjects ? CPropertySnapshot(Applet(), menu, item)
                                                                  : CPropertySnapshot(Applet());
    std::optional<CPropertySnapshot> whole;
    if (reach == Reach::NamedObjects && m_checkNamedWrites) whole.emplace(Applet());
    const bool wrote = write();
    if (whole) CheckNamedWrite(*whole, menu, item);
    if (!wrote) return false;
    if (before.StructureChanged()) {
        // Not an edit of values: no step can take it back, and the steps before it no longer
        // match the model. The history goes; the change itself is announced as usual.
        m_undoStack.clear();
        m_modifiedWithoutStep = true;
        UpdateModified();
        Announce({ModelChange::PropertiesChanged, menu, item, -1, true});
        return true;
    }
    PropertyDiff diff = before.ChangesSince();
    if (diff.Empty()) return false;
    ModelChange done{ModelChange::PropertiesChanged, menu, item, -1};
    done.appletOnly = !menu && !item && diff.menus.empty() && diff.items.empty();
    Push(new CChangeValuesCommand(*this, Named(text, undotexts::kChangeProperties), std::move(diff), done));
    return true;
}

bool CKestruneDoc::ShowMessage(const QString& text) {
    if (!isSignalConnected(QMetaMethod::fromSignal(&CKestruneDoc::messageShown))) return false;
    emit messageShown(text);
    return true;
}

void CKestruneDoc::SetNamedWriteEscapeHandler(std::function<void(const QString&)> handler) {
    m_namedWriteEscaped = std::move(handler);
}

void CKestruneDoc::CheckNamedWrite(const CPropertySnapshot& whole, const CVorane* menu, const CVoraneItem* item) {
    QStringList escaped;
    if (whole.StructureChanged()) {
        escaped << QStringLiteral("the structure");
    } else {
        const PropertyDiff diff = whole.ChangesSince();
        for (const auto& change : diff.menus)
            if (change.object != menu) escaped << QStringLiteral("menu \"%1\"").arg(convert::ToQt(change.after.style.m_name));
        for (const auto& change : diff.items)
            if (change.object != item) escaped << QStringLiteral("item \"%1\"").arg(convert::ToQt(change.after.m_label));
    }
    if (escaped.isEmpty()) return;
    const QString what = QStringLiteral("A write of named objects also changed %1.").arg(escaped.join(QStringLiteral(", ")));
    if (m_namedWriteEscaped)
        m_namedWriteEscaped(what);
    else
        qFatal("%s", qPrintable(what));
}

bool CKestruneDoc::ReplaceModel(const std::function<bool(CAppletParameters&)>& fill) {
    if (m_busy) return false;
    emit modelAboutToBeReplaced();
    // The editing context may point into the old model while fill() runs: keep nothing.
    CVorane* curMenu = m_pCurMenu;
    CVoraneItem* curItem = m_pCurItem;
    ClearEditingContext();
    if (!fill(Applet())) {
        m_pCurMenu = curMenu;
        m_pCurItem = curItem;
        return false;
    }
    // The steps point into the old model: a new document starts without any.
    m_undoStack.clear();
    emit modelChanged({ModelChange::Reset, nullptr, nullptr, -1});
    return true;
}

void CKestruneDoc::ClearEditingContext() {
    m_pCurMenu = nullptr;
    m_pCurItem = nullptr;
}

void CKestruneDoc::ForgetIfInside(const CVorane* removedMenu, const CVoraneItem* removedItem) {
    auto inside = [&](const void* target) {
        if (!target) return false;
        if (removedMenu && MenuHolds(removedMenu, target)) return true;
        return removedItem && (removedItem == target || MenuHolds(removedItem->m_subMenu.Existing(), target));
    };
    if (inside(m_pCurItem) || inside(m_pCurMenu)) ClearEditingContext();
}
