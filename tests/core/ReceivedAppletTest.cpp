// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "core/OutputTestSupport.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/OwnPageReader.h"
#include "output/ReceivedApplet.h"
#include "output/AppletParameterEncoder.h"

using namespace kestrune;
using kestrune::test::TempDir;

namespace {

// ---- field-for-field comparison of two received applets

std::string Differs(const std::string& where, const std::string& what) { return where + ": " + what; }

template <typename T>
std::string Compare(const std::string& where, const char* field, const T& a, const T& b) {
    if (a == b) return {};
    std::ostringstream text;
    text << where << "." << field << " differs: [" << a << "] vs [" << b << "]";
    return text.str();
}

std::string CompareStyle(const std::string& where, const ItemStyle& a, const ItemStyle& b) {
    std::string d;
    for (const auto& [field, x, y] :
         {std::tuple{"BKColor", a.BKColor, b.BKColor}, {"FRColor", a.FRColor, b.FRColor},
          {"Gradient", a.GradientDirection, b.GradientDirection}, {"Fill", a.ItemFillStyle, b.ItemFillStyle},
          {"Border", a.ItemBorderStyle, b.ItemBorderStyle}, {"FontEffect", a.FontEffect, b.FontEffect},
          {"FontName", a.FontName, b.FontName}, {"FontSize", a.FontSize, b.FontSize},
          {"FontStyle", a.FontStyle, b.FontStyle}, {"ImageAlign", a.ImageAlign, b.ImageAlign},
          {"TextAlign", a.TextAlign, b.TextAlign}, {"ImageOffset", a.ImageOffset, b.ImageOffset},
          {"TextOffset", a.TextOffset, b.TextOffset}})
        if (d.empty()) d = Compare(where, field, static_cast<long long>(x), static_cast<long long>(y));
    return d;
}

std::string CompareMenu(const std::string& where, const CVorane& a, const CVorane& b);

std::string CompareItem(const std::string& where, const CVoraneItem& a, const CVoraneItem& b) {
    for (const auto& [field, x, y] :
         {std::tuple{"label", &a.m_label, &b.m_label}, {"description", &a.m_description, &b.m_description},
          {"normal", &a.m_normalImage, &b.m_normalImage}, {"over", &a.m_overImage, &b.m_overImage},
          {"click", &a.m_clickImage, &b.m_clickImage}, {"overAudio", &a.m_overAudio, &b.m_overAudio},
          {"clickAudio", &a.m_clickAudio, &b.m_clickAudio}, {"target", &a.m_target, &b.m_target},
          {"link", &a.m_link, &b.m_link}})
        if (auto d = Compare(where, field, *x, *y); !d.empty()) return d;
    if (auto d = Compare(where, "visible", a.m_visible, b.m_visible); !d.empty()) return d;
    const CVorane* subA = a.m_subMenu.Existing();
    const CVorane* subB = b.m_subMenu.Existing();
    if (!subA || !subB)
        return (subA == nullptr) == (subB == nullptr) ? std::string() : Differs(where, "sub menu on one side only");
    return CompareMenu(where + ">", *subA, *subB);
}

std::string CompareMenu(const std::string& where, const CVorane& a, const CVorane& b) {
    for (const auto& [field, x, y] :
         {std::tuple{"BKColor", static_cast<long long>(a.m_BKColor), static_cast<long long>(b.m_BKColor)},
          {"BKStyle", a.m_BKStyle, b.m_BKStyle}, {"MenuAlign", a.m_MenuAlign, b.m_MenuAlign},
          {"Corner", a.m_Corner, b.m_Corner}, {"xPos", a.m_xPos, b.m_xPos}, {"yPos", a.m_yPos, b.m_yPos},
          {"Width", a.m_Width, b.m_Width}, {"Height", a.m_Height, b.m_Height}, {"ItemGap", a.m_ItemGap, b.m_ItemGap},
          {"BorderThick", a.m_BorderThick, b.m_BorderThick}, {"visible", a.m_visible, b.m_visible}})
        if (auto d = Compare(where, field, x, y); !d.empty()) return d;
    if (auto d = Compare(where, "name", a.m_name, b.m_name); !d.empty()) return d;
    for (std::size_t s = 0; s < a.m_itemStyle.size(); ++s)
        if (auto d = CompareStyle(where + ".style" + std::to_string(s), a.m_itemStyle[s], b.m_itemStyle[s]); !d.empty())
            return d;
    if (a.m_items.size() != b.m_items.size())
        return Differs(where, std::to_string(a.m_items.size()) + " items vs " + std::to_string(b.m_items.size()));
    for (std::size_t i = 0; i < a.m_items.size(); ++i)
        if (auto d = CompareItem(where + "/" + std::to_string(i), *a.m_items[i], *b.m_items[i]); !d.empty()) return d;
    return {};
}

std::string CompareApplets(const CAppletParameters& a, const CAppletParameters& b) {
    for (const auto& [field, x, y] :
         {std::tuple{"title", a.m_HTMLTitle, b.m_HTMLTitle}, {"image", a.m_appBKImagePath, b.m_appBKImagePath},
          {"audio", a.m_appBKAudioPath, b.m_appBKAudioPath}, {"folder", a.m_documentFolder, b.m_documentFolder}})
        if (auto d = Compare("applet", field, x, y); !d.empty()) return d;
    for (const auto& [field, x, y] :
         {std::tuple{"align", a.m_Align, b.m_Align}, {"width", a.m_appWidth, b.m_appWidth},
          {"height", a.m_appHeight, b.m_appHeight}, {"mode", a.m_appBKImageMode, b.m_appBKImageMode},
          {"x", a.m_appBKImageX, b.m_appBKImageX}, {"y", a.m_appBKImageY, b.m_appBKImageY},
          {"color", static_cast<std::int32_t>(a.m_appBKColor), static_cast<std::int32_t>(b.m_appBKColor)}})
        if (auto d = Compare("applet", field, x, y); !d.empty()) return d;
    if (a.m_menus.size() != b.m_menus.size())
        return Differs("applet", std::to_string(a.m_menus.size()) + " menus vs " + std::to_string(b.m_menus.size()));
    for (std::size_t m = 0; m < a.m_menus.size(); ++m)
        if (auto d = CompareMenu("menu" + std::to_string(m), *a.m_menus[m], *b.m_menus[m]); !d.empty()) return d;
    return {};
}

// ---- a model and edits of every kind, each applied to it and announced

class EditSession {
public:
    // plain: no comma in any text or media name and no two media files of one name,
    // from the first model on.
    explicit EditSession(const TempDir& dir, unsigned seed, bool plain = false)
        : m_random(seed), m_withoutCommas(plain) {
        m_media = {dir.File("media/home.gif"), (dir / "media/over.gif").string(),  // found as Over.GIF
                   dir.File("media/a,b.gif"),  dir.File("media/chime.au"),
                   (dir / "media/gone.gif").string(), dir.File("other/home.gif"), std::string()};
        dir.File("media/Over.GIF");
        if (plain) {
            AvoidSharedNames();
            m_media.erase(m_media.begin() + 2);
        }
        m_model.m_documentFolder = (dir / "media").string();
        for (int t = 0; t < 3; ++t) {
            auto menu = std::make_unique<CVorane>();
            FillMenu(*menu, 0);
            m_model.AddTopLevelMenu(std::move(menu), 0);
        }
        m_model.m_appBKImagePath = m_media[0];
    }

    CAppletParameters& Model() { return m_model; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    // Without the media path that shares its file name with another file.
    void AvoidSharedNames() { m_media.erase(m_media.begin() + 5); }

    std::string Text() {
        static const char* const kTexts[] = {"plain",       "a,b",        "say \"hi\"", "two\r\nlines",
                                             "AT&amp;T",    "&lt;b&gt;",  "",           "x, y, z",
                                             "end,",        "<param x=\"", "naïve",      "tab\there"};
        for (;;) {
            const std::string text = kTexts[Between(0, static_cast<int>(std::size(kTexts)) - 1)];
            if (!m_withoutCommas || text.find(',') == std::string::npos) return text;
        }
    }
    std::string Media() { return m_media[static_cast<std::size_t>(Between(0, static_cast<int>(m_media.size()) - 1))]; }

    void FillItem(CVoraneItem& item) {
        item.m_label = Text();
        if (Chance(30)) item.m_description = Text();
        if (Chance(40)) item.m_normalImage = Media();
        if (Chance(20)) item.m_overAudio = Media();
        if (Chance(20)) item.m_target = Chance(50) ? "_blank" : Text();
        item.m_link = Chance(80) ? "page.html" : Text();
        item.m_visible = Chance(85) ? 1 : 0;
    }

    void FillMenu(CVorane& menu, int depth) {
        const int count = Between(depth == 0 ? 2 : 0, 4);
        for (int i = 0; i < count; ++i) {
            auto item = std::make_unique<CVoraneItem>();
            FillItem(*item);
            if (depth < 3 && Chance(40)) FillMenu(*item->m_subMenu, depth + 1);
            menu.AddItem(std::move(item), 0);
        }
        menu.m_xPos = Between(-20, 200);
        menu.m_MenuAlign = Between(0, 1);
    }

    struct Place {
        CVorane* container;
        CVoraneItem* item;  // null: the container itself
        CVoraneItem* owner;  // the item whose sub menu the container is; null at the top
    };

    std::vector<Place> Places() {
        std::vector<Place> places;
        std::function<void(CVorane&, CVoraneItem*)> walk = [&](CVorane& menu, CVoraneItem* owner) {
            places.push_back({&menu, nullptr, owner});
            for (const auto& item : menu.m_items) {
                places.push_back({&menu, item.get(), owner});
                if (CVorane* sub = item->m_subMenu.Existing()) walk(*sub, item.get());
            }
        };
        for (const auto& menu : m_model.m_menus) walk(*menu, nullptr);
        return places;
    }

    Place AnyItem() {
        std::vector<Place> items;
        for (const Place& place : Places())
            if (place.item) items.push_back(place);
        return items.empty() ? Place{nullptr, nullptr, nullptr}
                             : items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
    }

    // Changes the model once and says what the editor would announce.
    ModelChange Edit() {
        const Place place = AnyItem();
        CVoraneItem* item = place.item;
        const int kind = item ? Between(0, 15) : 9;
        switch (kind) {
        case 0: item->m_label = Text(); return {ModelChange::PropertiesChanged, place.container, item};
        case 1:
            item->m_description = Text();
            item->m_link = Text();
            return {ModelChange::PropertiesChanged, nullptr, item};
        case 2:
            item->m_normalImage = Media();
            item->m_clickAudio = Media();
            return {ModelChange::PropertiesChanged, nullptr, item};
        case 3: {
            const std::string image = Media();
            CAppletParameters::SetItemImages(image, Media(), "", place.container, 0);
            return {ModelChange::PropertiesChanged, place.container, nullptr};
        }
        case 4: item->m_visible = !item->m_visible; return {ModelChange::VisibilityChanged, nullptr, item};
        case 5: {
            CVorane& top =
                *m_model.m_menus[static_cast<std::size_t>(Between(0, static_cast<int>(m_model.m_menus.size()) - 1))];
            top.m_visible = !top.m_visible;
            return {ModelChange::VisibilityChanged, &top, nullptr};
        }
        case 6: {  // a new item in the item's sub menu, made now if it had none
            const bool hadSubMenu = item->m_subMenu.Existing() != nullptr;
            CVorane* sub = item->m_subMenu.get();
            auto fresh = std::make_unique<CVoraneItem>();
            FillItem(*fresh);
            const int index = Between(0, static_cast<int>(sub->m_items.size()));
            CVoraneItem* raw = fresh.get();
            sub->m_items.insert(sub->m_items.begin() + index, std::move(fresh));
            ModelChange change{ModelChange::ItemInserted, sub, raw, index};
            change.owner = hadSubMenu ? nullptr : item;
            return change;
        }
        case 7: {  // a copy of an item with everything below it, beside it
            auto copy = std::make_unique<CVoraneItem>(*item);
            CVoraneItem* raw = copy.get();
            const int index = Between(0, static_cast<int>(place.container->m_items.size()));
            place.container->m_items.insert(place.container->m_items.begin() + index, std::move(copy));
            return {ModelChange::ItemInserted, place.container, raw, index};
        }
        case 8: {  // removed, so sub menus empty out and top-level menus lose their items
            const int index = place.container->IndexOf(item);
            auto removed = std::move(place.container->m_items[static_cast<std::size_t>(index)]);
            place.container->m_items.erase(place.container->m_items.begin() + index);
            m_graveyard.push_back(std::move(removed));  // keeps the address from being reused at once
            return {ModelChange::ItemRemoved, place.container, item, index};
        }
        case 9: return MenuEdit();
        case 10: {
            const int index = place.container->IndexOf(item);
            const int to = index + (Chance(50) ? 1 : -1);
            if (to < 0 || to >= static_cast<int>(place.container->m_items.size())) return MenuEdit();
            std::swap(place.container->m_items[static_cast<std::size_t>(index)],
                      place.container->m_items[static_cast<std::size_t>(to)]);
            return {ModelChange::ItemMoved, place.container, item, to};
        }
        case 11: {
            CVorane& menu = *place.container;
            menu.m_Width = Between(10, 200);
            menu.m_BKStyle = Between(0, 3);
            menu.m_itemStyle[static_cast<std::size_t>(Between(0, 2))].FontSize = Between(6, 30);
            menu.m_itemStyle[static_cast<std::size_t>(Between(0, 2))].TextAlign = Between(0, 2);
            return {ModelChange::PropertiesChanged, &menu, nullptr};
        }
        case 12: {
            switch (Between(0, 4)) {
            case 0: m_model.m_appWidth = Between(100, 900); break;
            case 1: m_model.m_HTMLTitle = Text(); break;
            case 2: m_model.m_appBKImagePath = Media(); break;
            case 3: m_model.m_appBKAudioPath = Media(); break;
            default: m_model.m_Align = Between(0, 3); m_model.m_appBKColor = static_cast<Color>(Between(0, 0xFFFFFF));
            }
            // The edit layer knows when only the applet's own fields changed.
            ModelChange change{ModelChange::PropertiesChanged, nullptr, nullptr};
            change.appletOnly = Chance(75);
            return change;
        }
        default: item->m_label = Text(); return {ModelChange::PropertiesChanged, nullptr, item};
        }
    }

    ModelChange MenuEdit() {
        auto& menus = m_model.m_menus;
        const int choice = menus.size() < 2 ? 0 : Between(0, 2);
        if (choice == 0) {
            auto menu = std::make_unique<CVorane>();
            FillMenu(*menu, 0);
            const int index = Between(0, static_cast<int>(menus.size()));
            CVorane* raw = menu.get();
            menus.insert(menus.begin() + index, std::move(menu));
            return {ModelChange::MenuInserted, raw, nullptr, index};
        }
        const int index = Between(0, static_cast<int>(menus.size()) - 1);
        CVorane* menu = menus[static_cast<std::size_t>(index)].get();
        if (choice == 1) {
            m_removedMenus.push_back(std::move(menus[static_cast<std::size_t>(index)]));
            menus.erase(menus.begin() + index);
            return {ModelChange::MenuRemoved, menu, nullptr, index};
        }
        const int to = index == 0 ? 1 : index - 1;
        std::swap(menus[static_cast<std::size_t>(index)], menus[static_cast<std::size_t>(to)]);
        return {ModelChange::MenuMoved, menu, nullptr, to};
    }

private:
    std::mt19937 m_random;
    bool m_withoutCommas;
    std::vector<std::string> m_media;
    CAppletParameters m_model;
    std::vector<std::unique_ptr<CVoraneItem>> m_graveyard;
    std::vector<std::unique_ptr<CVorane>> m_removedMenus;
};

void ExpectSameAsWholeRead(const ReceivedApplet& received, const CAppletParameters& model, const std::string& step) {
    const AppletReadResult whole = ReadOwnPage(model);
    ASSERT_TRUE(whole.Ok()) << step << ": " << whole.error;
    ASSERT_NE(received.Applet(), nullptr) << step << ": " << received.Error();
    const std::string difference = CompareApplets(*received.Applet(), *whole.applet);
    ASSERT_EQ(difference, "") << step;
    ASSERT_EQ(BuildAppletParameters(*received.Applet()), BuildAppletParameters(*whole.applet)) << step;
    ASSERT_EQ(received.Warnings(), whole.warnings) << step;
    ASSERT_EQ(received.WarningCount(), whole.warnings.size()) << step;
}

enum class Names {
    Shared,    // one media name leads to two files
    Distinct,  // new media names lead to one file each
    Plain,     // every media name to one file from the start, and no comma anywhere
};

// With no name of two files and no comma, no edit gives a reason to read whole but one
// that may have changed anything.
void ExpectPlainOutcome(const ModelChange& edit, ReceivedApplet::Outcome outcome, const std::string& step) {
    const bool mayHaveChangedAnything =
        edit.kind == ModelChange::Reset ||
        (edit.kind == ModelChange::PropertiesChanged && !edit.menu && !edit.item && !edit.appletOnly);
    EXPECT_EQ(outcome, mayHaveChangedAnything ? ReceivedApplet::Outcome::Rebuilt : ReceivedApplet::Outcome::Patched)
        << step;
}

// Every edit of a long random series, followed locally, gives exactly what reading the
// whole page gives.
void RunSeries(unsigned seed, Names names, int edits, int* patched, int* total) {
    TempDir dir;
    EditSession session(dir, seed, names == Names::Plain);
    if (names == Names::Distinct) session.AvoidSharedNames();
    ReceivedApplet received;
    ASSERT_EQ(received.Rebuild(session.Model()).outcome, ReceivedApplet::Outcome::Rebuilt);
    ExpectSameAsWholeRead(received, session.Model(), "whole read");
    for (int i = 0; i < edits; ++i) {
        const ModelChange edit = session.Edit();
        const ReceivedApplet::Update update = received.Apply(session.Model(), edit);
        // A comma in the background image's name breaks the page for the applet: both fail alike.
        if (const AppletReadResult whole = ReadOwnPage(session.Model()); !whole.Ok()) {
            ASSERT_EQ(update.outcome, ReceivedApplet::Outcome::Failed);
            ASSERT_EQ(received.Error(), whole.error);
            continue;
        }
        ASSERT_NE(update.outcome, ReceivedApplet::Outcome::Failed) << received.Error();
        *patched += update.outcome == ReceivedApplet::Outcome::Patched;
        ++*total;
        const std::string step =
            "seed " + std::to_string(seed) + " edit " + std::to_string(i) + " kind " + std::to_string(edit.kind);
        if (names == Names::Plain) ExpectPlainOutcome(edit, update.outcome, step);
        ExpectSameAsWholeRead(received, session.Model(), step);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(ReceivedAppletTest, EveryEditFollowedLocallyEqualsTheWholeRead) {
    int patched = 0, total = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        RunSeries(seed, Names::Distinct, 150, &patched, &total);
        if (HasFatalFailure()) return;
    }
    // The whole read is for edits of "anything" and for catching up after a broken page.
    RecordProperty("patched", patched);
    RecordProperty("edits", total);
    EXPECT_GT(patched, total * 8 / 10);
}

TEST(ReceivedAppletTest, WithoutCommasOrSharedNamesOnlyAnEditOfAnythingIsReadWhole) {
    int patched = 0, total = 0;
    for (unsigned seed = 31; seed <= 36; ++seed) {
        RunSeries(seed, Names::Plain, 150, &patched, &total);
        if (HasFatalFailure()) return;
    }
    // No page breaks, so every edit was compared, and the series held edits of both kinds.
    EXPECT_EQ(total, 6 * 150);
    EXPECT_GT(patched, 0);
    EXPECT_LT(patched, total);
}

// A property page that writes the visible field announces a property change, not a
// visibility change: the item or menu still comes or goes as the whole read has it.
TEST(ReceivedAppletTest, VisibilityWrittenAsAPropertyEqualsTheWholeRead) {
    for (unsigned seed = 41; seed <= 44; ++seed) {
        TempDir dir;
        EditSession session(dir, seed, true);
        CAppletParameters& model = session.Model();
        ReceivedApplet received;
        ASSERT_EQ(received.Rebuild(model).outcome, ReceivedApplet::Outcome::Rebuilt);
        int step = 0;
        for (const EditSession::Place& place : session.Places()) {
            for (int flip = 0; flip < 2; ++flip) {
                const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step++);
                ModelChange edit{ModelChange::PropertiesChanged, place.container, place.item};
                if (place.item) {
                    place.item->m_label = flip ? "shown again" : "hidden now";
                    place.item->m_visible = !place.item->m_visible;
                    if (step % 2 == 0) edit.menu = nullptr;  // the item's page names no menu
                } else if (!place.owner) {
                    place.container->m_visible = !place.container->m_visible;
                } else {
                    continue;  // only top-level menus are hidden as a whole
                }
                ASSERT_EQ(received.Apply(model, edit).outcome, ReceivedApplet::Outcome::Patched) << where;
                ExpectSameAsWholeRead(received, model, where);
                if (HasFatalFailure()) return;
            }
        }
    }
}

TEST(ReceivedAppletTest, AMediaNameOfTwoFilesStaysExact) {
    int patched = 0, total = 0;
    for (unsigned seed = 21; seed <= 26; ++seed) {
        RunSeries(seed, Names::Shared, 120, &patched, &total);
        if (HasFatalFailure()) return;
    }
    // Nearly every edit was compared; the name of two files sends some to the whole read.
    EXPECT_GT(total, 6 * 120 * 9 / 10);
    EXPECT_GT(patched, 0);
    EXPECT_LT(patched, total);
}

}  // namespace

namespace {

// The model's own page is bounded by the model, not by the caps for untrusted pages: a
// document of more parameters than a page file may hold is received whole, both ways.
TEST(ReceivedAppletTest, TheModelsOwnPageIsNotCutAtThePageFileCaps) {
    CAppletParameters model;
    constexpr int kMenus = 7000;
    for (int m = 0; m < kMenus; ++m) {
        auto menu = std::make_unique<CVorane>();
        for (int i = 0; i < 9; ++i) menu->AddItem(std::make_unique<CVoraneItem>("I" + std::to_string(i)), 0);
        model.AddTopLevelMenu(std::move(menu), 0);
    }
    // 7000 menus of nine items: more than 65,536 parameters.
    const AppletReadResult whole = ReadOwnPage(model);
    ASSERT_TRUE(whole.Ok()) << whole.error;
    EXPECT_TRUE(whole.warnings.empty());
    ASSERT_EQ(whole.applet->m_menus.size(), std::size_t{kMenus});
    EXPECT_EQ(whole.applet->m_menus.back()->m_items.size(), 9u);
    ReceivedApplet received;
    ASSERT_EQ(received.Rebuild(model).outcome, ReceivedApplet::Outcome::Rebuilt);
    EXPECT_EQ(CompareApplets(*received.Applet(), *whole.applet), "");
}

}  // namespace

namespace {

// Past the reader's warning cap the list ends with how many more there were; the page
// positions in the texts follow an edit that moves every menu after it.
TEST(ReceivedAppletTest, WarningsPastTheCapFollowEdits) {
    CAppletParameters model;
    for (int m = 0; m < 30; ++m) {
        auto menu = std::make_unique<CVorane>();
        for (int i = 0; i < 6; ++i) {
            auto item = std::make_unique<CVoraneItem>("a,b");
            if (i == 2) item->SubMenu().AddItem(std::make_unique<CVoraneItem>("c,d"), 0);
            menu->AddItem(std::move(item), 0);
        }
        model.AddTopLevelMenu(std::move(menu), 0);
    }
    ReceivedApplet received;
    ASSERT_EQ(received.Rebuild(model).outcome, ReceivedApplet::Outcome::Rebuilt);
    ExpectSameAsWholeRead(received, model, "whole read");
    ASSERT_EQ(received.Warnings().back(), "... and 110 more warnings.");
    CVoraneItem& opener = *model.m_menus[0]->m_items[2];
    opener.m_visible = 0;
    ASSERT_EQ(received.Apply(model, {ModelChange::VisibilityChanged, nullptr, &opener}).outcome,
              ReceivedApplet::Outcome::Patched);
    ExpectSameAsWholeRead(received, model, "first opener hidden");
}

}  // namespace
