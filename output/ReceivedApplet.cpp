#include "output/ReceivedApplet.h"

#include <algorithm>
#include <new>

#include "model/VoraneItem.h"
#include "output/AppletParameterEncoder.h"
#include "output/CharacterReferences.h"
#include "output/HtmlPageBuilder.h"
#include "output/OutputTexts.h"
#include "output/ParameterRecords.h"

namespace kestrune {

using namespace paramfields;

namespace {

constexpr std::size_t kMaxWarnings = 100;
constexpr std::size_t kMediaFields = 5;

// An edit the links cannot follow locally: the whole model is read again.
struct NeedsWholeRead {};

void Require(bool condition) {
    if (!condition) throw NeedsWholeRead{};
}

std::array<const std::string*, kMediaFields> MediaFieldsOf(const CVoraneItem& item) {
    return {&item.m_normalImage, &item.m_overImage, &item.m_clickImage, &item.m_overAudio, &item.m_clickAudio};
}

void TakeItemFields(CVoraneItem& target, CVoraneItem&& source) {
    target.m_label = std::move(source.m_label);
    target.m_description = std::move(source.m_description);
    target.m_normalImage = std::move(source.m_normalImage);
    target.m_overImage = std::move(source.m_overImage);
    target.m_clickImage = std::move(source.m_clickImage);
    target.m_overAudio = std::move(source.m_overAudio);
    target.m_clickAudio = std::move(source.m_clickAudio);
    target.m_target = std::move(source.m_target);
    target.m_link = std::move(source.m_link);
}

void TakeMenuStyle(CVorane& target, const CVorane& source) {
    target.m_BKColor = source.m_BKColor;
    target.m_BKStyle = source.m_BKStyle;
    target.m_MenuAlign = source.m_MenuAlign;
    target.m_Corner = source.m_Corner;
    target.m_xPos = source.m_xPos;
    target.m_yPos = source.m_yPos;
    target.m_Width = source.m_Width;
    target.m_Height = source.m_Height;
    target.m_ItemGap = source.m_ItemGap;
    target.m_BorderThick = source.m_BorderThick;
    target.m_itemStyle = source.m_itemStyle;
}

template <typename T>
void MoveWithin(std::vector<T>& list, std::size_t from, std::size_t to) {
    if (from < to)
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(from), list.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                    list.begin() + static_cast<std::ptrdiff_t>(to) + 1);
    else if (to < from)
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(to), list.begin() + static_cast<std::ptrdiff_t>(from),
                    list.begin() + static_cast<std::ptrdiff_t>(from) + 1);
}

}  // namespace

// A model item and what the applet receives of it.
struct ReceivedApplet::ItemLink {
    const CVoraneItem* model = nullptr;
    MenuLink* container = nullptr;
    MenuLink* sub = nullptr;  // its sub menu, when the model has made one
    CVoraneItem* received = nullptr;
    std::array<ReceivedMedia::Id, kMediaFields> media{};
};

// A model menu, its items in the model's order, and the menu the applet receives.
struct ReceivedApplet::MenuLink {
    const CVorane* model = nullptr;
    ItemLink* owner = nullptr;  // null: a top-level menu
    std::vector<ItemLink*> items;
    CVorane* received = nullptr;
};

struct ReceivedApplet::State {
    std::unique_ptr<CAppletParameters> applet;
    std::unordered_map<const CVorane*, MenuLink> menus;
    std::unordered_map<const CVoraneItem*, ItemLink> items;
    std::vector<MenuLink*> top;
    ReceivedMedia media;
    std::string documentFolder;
    std::vector<std::string> appletWarnings;
    // Received items whose value splits at a comma in its texts, with the names their
    // media fields asked for (which may be anyone's), and those names counted.
    std::unordered_map<const CVoraneItem*, std::vector<std::string>> splitItems;
    std::unordered_map<std::string, int> splitLookups;
};

// The work on one state: registering model objects, reading received ones.
class ReceivedApplet::Builder {
public:
    Builder(State& state, int maxDepth) : m_s(state), m_search(state.documentFolder), m_maxDepth(maxDepth) {}

    // ---- the model side

    MenuLink& AddMenuLink(const CVorane& menu, ItemLink* owner) {
        MenuLink& link = m_s.menus[&menu];
        link = MenuLink{&menu, owner, {}, nullptr};
        if (owner) owner->sub = &link;
        return link;
    }

    ItemLink& AddItemLink(MenuLink& container, const CVoraneItem& item) {
        ItemLink& link = m_s.items[&item];
        link = ItemLink{&item, &container, nullptr, nullptr, {}};
        UseMedia(link);
        return link;
    }

    // The items below root, in the order the media names of a page are collected.
    void RegisterBelow(MenuLink& root) {
        std::vector<MenuLink*> pending{&root};
        while (!pending.empty()) {
            MenuLink* menu = pending.back();
            pending.pop_back();
            for (const auto& item : menu->model->m_items) {
                ItemLink& link = AddItemLink(*menu, *item);
                menu->items.push_back(&link);
                if (const CVorane* sub = item->m_subMenu.Existing()) pending.push_back(&AddMenuLink(*sub, &link));
            }
        }
    }

    void InsertItemLink(MenuLink& container, const CVoraneItem& item, std::size_t position) {
        Require(!m_s.items.count(&item));
        ItemLink& link = AddItemLink(container, item);
        container.items.insert(container.items.begin() + static_cast<std::ptrdiff_t>(position), &link);
        if (const CVorane* sub = item.m_subMenu.Existing()) RegisterBelow(AddMenuLink(*sub, &link));
    }

    // Forgets the item and everything below it; the link is gone afterwards.
    void Unregister(ItemLink& root) {
        std::vector<ItemLink*> pending{&root};
        while (!pending.empty()) {
            ItemLink* link = pending.back();
            pending.pop_back();
            for (const ReceivedMedia::Id id : link->media) m_s.media.Release(id);
            if (link->received) ForgetSplit(link->received);
            if (link->sub) {
                pending.insert(pending.end(), link->sub->items.begin(), link->sub->items.end());
                m_s.menus.erase(link->sub->model);
            }
            m_s.items.erase(link->model);
        }
    }

    void UnregisterMenu(MenuLink& menu) {
        for (ItemLink* item : menu.items) Unregister(*item);
        m_s.menus.erase(menu.model);
    }

    void UseAppletMedia(const CAppletParameters& model) {
        m_s.media.Use(model.m_appBKImagePath, m_search);
        m_s.media.Use(model.m_appBKAudioPath, m_search);
    }

    void UseMedia(ItemLink& link) {
        const auto paths = MediaFieldsOf(*link.model);
        for (std::size_t i = 0; i < kMediaFields; ++i) link.media[i] = m_s.media.Use(*paths[i], m_search);
    }

    void RefreshMedia(ItemLink& link) {
        const auto before = link.media;
        UseMedia(link);
        for (const ReceivedMedia::Id id : before) m_s.media.Release(id);
    }

    // ---- the received side

    std::unique_ptr<CAppletParameters> ReadApplet(const CAppletParameters& model) {
        auto applet = std::make_unique<CAppletParameters>();
        applet->m_HTMLTitle = DecodeCharacterReferences(EscapeTitleText(model.m_HTMLTitle), ReferencePlace::Text);
        if (const auto align = ParagraphAlignIndex(ParagraphAlignWord(model.m_Align))) applet->m_Align = *align;
        applet->m_appWidth = model.m_appWidth;
        applet->m_appHeight = model.m_appHeight;
        m_lookups.clear();
        const Parameter style{texts::kParamAppletStyle, ValueAsReceived(AppletStyleValue(model, m_search))};
        ReadAppletStyle(style, *applet, m_resolve, [&](std::string text) { m_s.appletWarnings.push_back(std::move(text)); });
        // A split style reads other fields as media names.
        if (!m_s.appletWarnings.empty())
            for (const std::string& name : m_lookups) ++m_s.splitLookups[name];
        return applet;
    }

    // The menu with its visible items and the emitted menus below them; number counts
    // the menus in page order on a whole read (it names them in error texts).
    std::unique_ptr<CVorane> ReadMenu(MenuLink& menu, int depth, int* number) {
        if (depth > m_maxDepth)
            throw ReadError("The menus are nested more than " + std::to_string(m_maxDepth) + " levels deep.");
        const std::string suffix = number ? std::to_string((*number)++) : std::string();
        auto received = std::make_unique<CVorane>();
        ReadStyles(*menu.model, suffix, *received);
        menu.received = received.get();
        int visibleIndex = 0;
        for (ItemLink* item : menu.items)
            if (item->model->m_visible)
                received->AddItem(ReadNewItem(*item, suffix + "-" + std::to_string(visibleIndex++)), 0);
        for (ItemLink* item : menu.items)
            if (item->received && item->sub && AppletParameterEncoder::IsEmitted(item->sub->model))
                item->received->SetSubMenu(ReadMenu(*item->sub, depth + 1, number));
        return received;
    }

    void ReadStyles(const CVorane& model, const std::string& suffix, CVorane& target) {
        ReadMenuStyle({texts::kParamMenuStylePrefix + suffix, ValueAsReceived(MenuStyleValue(model))}, target, m_ignore);
        ReadItemStyles({texts::kParamItemStylePrefix + suffix, ValueAsReceived(ItemStylesValue(model))}, target,
                       m_ignore);
    }

    std::unique_ptr<CVoraneItem> ReadNewItem(ItemLink& link, const std::string& position) {
        bool split = false;
        auto item = ReadItemOf(*link.model, position, split);
        link.received = item.get();
        if (split) AddSplit(item.get());
        return item;
    }

    void PatchItem(ItemLink& link) {
        if (!link.received) return;
        bool split = false;
        auto fresh = ReadItemOf(*link.model, {}, split);
        ForgetSplit(link.received);
        if (split) AddSplit(link.received);
        TakeItemFields(*link.received, std::move(*fresh));
    }

    void PatchMenuStyle(MenuLink& menu) {
        if (!menu.received) return;
        CVorane fresh;
        ReadStyles(*menu.model, {}, fresh);
        TakeMenuStyle(*menu.received, fresh);
    }

    // Brings what the applet receives of one menu in line with the model: whether it is
    // received at all, and which of its items are, reading only those it did not have.
    void Resync(MenuLink& menu) {
        if (menu.owner && !menu.owner->received) return;
        if (!AppletParameterEncoder::IsEmitted(menu.model)) {
            if (menu.received) Detach(menu);
            return;
        }
        if (!menu.received) return Attach(menu, ReadMenu(menu, DepthOf(menu), nullptr));
        ResyncItems(menu);
    }

    void ResyncItems(MenuLink& menu) {
        for (ItemLink* item : menu.items)
            if (!item->model->m_visible && item->received) DropItem(*item);
        CVorane& received = *menu.received;
        std::unordered_map<const CVoraneItem*, std::unique_ptr<CVoraneItem>> before;
        before.reserve(received.m_items.size());
        for (auto& item : received.m_items) before.emplace(item.get(), std::move(item));
        received.m_items.clear();
        const int depth = DepthOf(menu);
        for (ItemLink* item : menu.items) {
            if (!item->model->m_visible) continue;
            if (item->received) {
                const auto kept = before.find(item->received);
                received.m_items.push_back(std::move(kept->second));
                before.erase(kept);
                continue;
            }
            received.m_items.push_back(ReadNewItem(*item, {}));
            if (item->sub && AppletParameterEncoder::IsEmitted(item->sub->model))
                item->received->SetSubMenu(ReadMenu(*item->sub, depth + 1, nullptr));
        }
    }

    // The top-level menus received, in the model's order.
    void ResyncTopLevel() {
        auto& menus = m_s.applet->m_menus;
        std::unordered_map<const CVorane*, std::unique_ptr<CVorane>> before;
        for (auto& menu : menus) before.emplace(menu.get(), std::move(menu));
        menus.clear();
        for (MenuLink* link : m_s.top) {
            if (!link->received) continue;
            const auto kept = before.find(link->received);
            Require(kept != before.end());
            menus.push_back(std::move(kept->second));
        }
    }

    // Forgets every received object at and below the menu (their owner destroys them).
    void DropReceived(MenuLink& root) {
        std::vector<MenuLink*> pending{&root};
        while (!pending.empty()) {
            MenuLink* menu = pending.back();
            pending.pop_back();
            if (!menu->received) continue;
            menu->received = nullptr;
            for (ItemLink* item : menu->items) {
                if (!item->received) continue;
                ForgetSplit(item->received);
                item->received = nullptr;
                if (item->sub) pending.push_back(item->sub);
            }
        }
    }

    static int DepthOf(const MenuLink& menu) {
        int depth = 0;
        for (const MenuLink* at = &menu; at->owner; at = at->owner->container) ++depth;
        return depth;
    }

    static const MenuLink& TopOf(const MenuLink& menu) {
        const MenuLink* at = &menu;
        while (at->owner) at = at->owner->container;
        return *at;
    }

private:
    std::unique_ptr<CVoraneItem> ReadItemOf(const CVoraneItem& model, const std::string& position, bool& split) {
        m_lookups.clear();
        const Parameter parameter{texts::kParamItemPrefix + position, ValueAsReceived(ItemValue(model, m_search))};
        return ReadItem(parameter, m_resolve, [&](std::string) { split = true; });
    }

    void AddSplit(const CVoraneItem* received) {
        for (const std::string& name : m_lookups) ++m_s.splitLookups[name];
        m_s.splitItems[received] = m_lookups;
    }

    void ForgetSplit(const CVoraneItem* received) {
        const auto found = m_s.splitItems.find(received);
        if (found == m_s.splitItems.end()) return;
        for (const std::string& name : found->second)
            if (--m_s.splitLookups[name] <= 0) m_s.splitLookups.erase(name);
        m_s.splitItems.erase(found);
    }

    void DropItem(ItemLink& item) {
        ForgetSplit(item.received);
        item.received = nullptr;
        if (item.sub) DropReceived(*item.sub);
    }

    void Attach(MenuLink& menu, std::unique_ptr<CVorane> received) {
        if (menu.owner) return menu.owner->received->SetSubMenu(std::move(received));
        received->m_name = kTopLevelMenuName;
        std::size_t position = 0;
        for (const MenuLink* link : m_s.top) {
            if (link == &menu) break;
            if (link->received) ++position;
        }
        auto& menus = m_s.applet->m_menus;
        menus.insert(menus.begin() + static_cast<std::ptrdiff_t>(std::min(position, menus.size())),
                     std::move(received));
    }

    void Detach(MenuLink& menu) {
        const CVorane* received = menu.received;
        DropReceived(menu);
        if (menu.owner) return menu.owner->received->m_subMenu.Replace(nullptr);
        auto& menus = m_s.applet->m_menus;
        menus.erase(std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.get() == received; }));
    }

    State& m_s;
    MediaFileSearch m_search;
    int m_maxDepth;
    std::vector<std::string> m_lookups;  // the media names the last read asked for
    const MediaNameResolver m_resolve = [this](const std::string& name) {
        m_lookups.push_back(name);
        return m_s.media.Resolve(name);
    };
    const WarningSink m_ignore = [](std::string) {};
};

ReceivedApplet::ReceivedApplet(int maxDepth) : m_maxDepth(maxDepth) {}
ReceivedApplet::~ReceivedApplet() = default;

const CAppletParameters* ReceivedApplet::Applet() const { return m_state ? m_state->applet.get() : nullptr; }

ReceivedApplet::Update ReceivedApplet::Rebuild(const CAppletParameters& model) {
    auto state = std::make_unique<State>();
    state->documentFolder = model.m_documentFolder;
    try {
        Builder builder(*state, m_maxDepth);
        // The media names first, all of them, in the order a page collects them.
        builder.UseAppletMedia(model);
        for (const auto& menu : model.m_menus) {
            MenuLink& link = builder.AddMenuLink(*menu, nullptr);
            state->top.push_back(&link);
            builder.RegisterBelow(link);
        }
        state->applet = builder.ReadApplet(model);
        int number = 0;
        for (MenuLink* link : state->top)
            if (AppletParameterEncoder::IsEmitted(link->model))
                state->applet->AddTopLevelMenu(builder.ReadMenu(*link, 0, &number), 0);
    } catch (const ReadError& error) {
        m_error = error.what();
        m_inStep = false;
        return {};
    } catch (const std::bad_alloc&) {
        m_error = "The text is too large to be an applet page.";
        m_inStep = false;
        return {};
    }
    m_state = std::move(state);
    m_inStep = true;
    m_error.clear();
    Update update;
    update.outcome = Outcome::Rebuilt;
    for (const auto& menu : m_state->applet->m_menus) update.changedTopMenus.push_back(menu.get());
    return update;
}

ReceivedApplet::Update ReceivedApplet::Apply(const CAppletParameters& model, const AppletEdit& edit,
                                             const CVoraneItem* ownerHint) {
    const bool wholeApplet = edit.kind == AppletEdit::PropertiesChanged && !edit.menu && !edit.item;
    if (!m_inStep || edit.kind == AppletEdit::Reset || wholeApplet || model.m_documentFolder != m_state->documentFolder)
        return Rebuild(model);
    try {
        return Patch(model, edit, ownerHint);
    } catch (const NeedsWholeRead&) {
    } catch (const ReadError&) {
    } catch (const std::bad_alloc&) {
    }
    return Rebuild(model);
}

ReceivedApplet::Update ReceivedApplet::Patch(const CAppletParameters& model, const AppletEdit& edit,
                                             const CVoraneItem* ownerHint) {
    State& s = *m_state;
    Builder builder(s, m_maxDepth);
    const auto menuLink = [&](const CVorane* menu) -> MenuLink* {
        const auto found = s.menus.find(menu);
        return found == s.menus.end() ? nullptr : &found->second;
    };
    const auto itemLink = [&](const CVoraneItem* item) -> ItemLink* {
        const auto found = s.items.find(item);
        return found == s.items.end() ? nullptr : &found->second;
    };
    const auto positionIn = [](const auto& list, const auto* element) {
        const auto found = std::find(list.begin(), list.end(), element);
        Require(found != list.end());
        return static_cast<std::size_t>(found - list.begin());
    };
    // The links must mirror the model where the edit happened.
    const auto requireMirrored = [&](const MenuLink* menu) {
        if (!menu) {
            Require(s.top.size() == model.m_menus.size());
            for (std::size_t i = 0; i < s.top.size(); ++i) Require(s.top[i]->model == model.m_menus[i].get());
            return;
        }
        Require(menu->items.size() == menu->model->m_items.size());
        for (std::size_t i = 0; i < menu->items.size(); ++i)
            Require(menu->items[i]->model == menu->model->m_items[i].get());
    };
    const auto mediaStayLocal = [&] { Require(s.media.EndEdit(s.splitLookups)); };

    Update update;
    update.outcome = Outcome::Patched;
    std::vector<const MenuLink*> touched;
    s.media.BeginEdit();
    switch (edit.kind) {
    case AppletEdit::MenuInserted: {
        Require(edit.menu && !menuLink(edit.menu));
        MenuLink& menu = builder.AddMenuLink(*edit.menu, nullptr);
        s.top.insert(s.top.begin() + std::clamp<std::ptrdiff_t>(edit.index, 0, std::ssize(s.top)), &menu);
        builder.RegisterBelow(menu);
        requireMirrored(nullptr);
        mediaStayLocal();
        builder.Resync(menu);
        touched.push_back(&menu);
        break;
    }
    case AppletEdit::MenuRemoved: {
        MenuLink* menu = menuLink(edit.menu);
        Require(menu && !menu->owner);
        if (menu->received) builder.DropReceived(*menu);
        s.top.erase(s.top.begin() + static_cast<std::ptrdiff_t>(positionIn(s.top, menu)));
        builder.UnregisterMenu(*menu);
        requireMirrored(nullptr);
        mediaStayLocal();
        builder.ResyncTopLevel();
        break;
    }
    case AppletEdit::MenuMoved: {
        // The order of the media names decides which file a shared name leads to.
        Require(!s.media.HasNameWithTwoFiles());
        MenuLink* menu = menuLink(edit.menu);
        Require(menu && !menu->owner && edit.index >= 0 && edit.index < std::ssize(s.top));
        MoveWithin(s.top, positionIn(s.top, menu), static_cast<std::size_t>(edit.index));
        requireMirrored(nullptr);
        mediaStayLocal();
        builder.ResyncTopLevel();
        break;
    }
    case AppletEdit::ItemInserted: {
        Require(edit.menu && edit.item);
        MenuLink* container = menuLink(edit.menu);
        if (!container) {
            // A sub menu made since the last whole read: it holds just this item.
            ItemLink* owner = ownerHint ? itemLink(ownerHint) : nullptr;
            Require(owner && !owner->sub && ownerHint->m_subMenu.Existing() == edit.menu);
            container = &builder.AddMenuLink(*edit.menu, owner);
            builder.RegisterBelow(*container);
        } else {
            const std::size_t position = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
                edit.index, 0, std::ssize(container->items)));
            builder.InsertItemLink(*container, *edit.item, position);
        }
        requireMirrored(container);
        mediaStayLocal();
        builder.Resync(*container);
        touched.push_back(container);
        break;
    }
    case AppletEdit::ItemRemoved: {
        MenuLink* container = menuLink(edit.menu);
        ItemLink* item = itemLink(edit.item);
        Require(container && item && item->container == container);
        container->items.erase(container->items.begin() +
                               static_cast<std::ptrdiff_t>(positionIn(container->items, item)));
        builder.Unregister(*item);
        requireMirrored(container);
        mediaStayLocal();
        builder.Resync(*container);
        touched.push_back(container);
        break;
    }
    case AppletEdit::ItemMoved: {
        Require(!s.media.HasNameWithTwoFiles());
        MenuLink* container = menuLink(edit.menu);
        ItemLink* item = itemLink(edit.item);
        Require(container && item && item->container == container && edit.index >= 0 &&
                edit.index < std::ssize(container->items));
        MoveWithin(container->items, positionIn(container->items, item), static_cast<std::size_t>(edit.index));
        requireMirrored(container);
        mediaStayLocal();
        builder.Resync(*container);
        touched.push_back(container);
        break;
    }
    case AppletEdit::VisibilityChanged: {
        mediaStayLocal();
        MenuLink* menu = edit.item ? nullptr : menuLink(edit.menu);
        if (edit.item) {
            ItemLink* item = itemLink(edit.item);
            Require(item != nullptr);
            menu = item->container;
        }
        Require(menu != nullptr);
        builder.Resync(*menu);
        touched.push_back(menu);
        break;
    }
    case AppletEdit::PropertiesChanged: {
        ItemLink* item = edit.item ? itemLink(edit.item) : nullptr;
        Require(item || !edit.item);
        MenuLink* menu = edit.menu ? menuLink(edit.menu) : nullptr;
        // A menu made since the last whole read and still empty is not received.
        Require(menu || !edit.menu || edit.menu->m_items.empty());
        if (item) builder.RefreshMedia(*item);
        if (menu && !item)
            for (ItemLink* each : menu->items) builder.RefreshMedia(*each);
        mediaStayLocal();
        if (item) {
            builder.PatchItem(*item);
            const bool shouldReceive = item->model->m_visible && item->container->received;
            if (shouldReceive != (item->received != nullptr)) builder.Resync(*item->container);
            touched.push_back(item->container);
        }
        if (menu) {
            builder.PatchMenuStyle(*menu);
            if (!item)
                for (ItemLink* each : menu->items) builder.PatchItem(*each);
            if (AppletParameterEncoder::IsEmitted(menu->model) != (menu->received != nullptr)) builder.Resync(*menu);
            touched.push_back(menu);
        }
        break;
    }
    case AppletEdit::Reset:
        throw NeedsWholeRead{};
    }
    for (const MenuLink* menu : touched)
        if (const CVorane* top = Builder::TopOf(*menu).received) update.changedTopMenus.push_back(top);
    return update;
}

const CVorane* ReceivedApplet::ReceivedMenu(const CVorane* model) const {
    if (!m_state) return nullptr;
    const auto found = m_state->menus.find(model);
    return found == m_state->menus.end() ? nullptr : found->second.received;
}

const CVoraneItem* ReceivedApplet::ReceivedItem(const CVoraneItem* model) const {
    if (!m_state) return nullptr;
    const auto found = m_state->items.find(model);
    return found == m_state->items.end() ? nullptr : found->second.received;
}

std::size_t ReceivedApplet::WarningCount() const {
    if (!m_state) return 0;
    const std::size_t total = m_state->appletWarnings.size() + m_state->splitItems.size();
    return total > kMaxWarnings ? kMaxWarnings + 1 : total;
}

std::vector<std::string> ReceivedApplet::Warnings() const {
    if (!m_state) return {};
    std::vector<std::string> warnings;
    std::size_t dropped = 0;
    const auto warn = [&](std::string text) {
        if (warnings.size() < kMaxWarnings)
            warnings.push_back(std::move(text));
        else
            ++dropped;
    };
    for (const std::string& text : m_state->appletWarnings) warn(text);
    if (!m_state->splitItems.empty()) {
        // Menus are numbered in page order: each menu, then the menus below its items.
        int number = 0;
        std::vector<const CVorane*> pending;
        for (auto it = m_state->applet->m_menus.rbegin(); it != m_state->applet->m_menus.rend(); ++it)
            pending.push_back(it->get());
        while (!pending.empty()) {
            const CVorane* menu = pending.back();
            pending.pop_back();
            const std::string prefix = texts::kParamItemPrefix + std::to_string(number++) + "-";
            for (std::size_t j = 0; j < menu->m_items.size(); ++j)
                if (m_state->splitItems.count(menu->m_items[j].get()))
                    warn(ItemSplitWarning(prefix + std::to_string(j)));
            for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
                if (const CVorane* sub = (*it)->m_subMenu.Existing()) pending.push_back(sub);
        }
    }
    if (dropped > 0) warnings.push_back("... and " + std::to_string(dropped) + " more warnings.");
    return warnings;
}

}  // namespace kestrune
