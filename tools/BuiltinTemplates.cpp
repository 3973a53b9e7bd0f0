// SPDX-License-Identifier: GPL-3.0-or-later
#include "BuiltinTemplates.h"

#include <array>
#include <memory>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/ParameterCheck.h"

using namespace kestrune;

namespace {

constexpr Color Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Value-list positions, named for readability.
enum Font { kTimes = 0, kHelvetica = 1, kCourier = 2 };
enum FontStyle { kPlain = 0, kBold = 1, kItalic = 2 };
enum Align { kLeft = 0, kCenter = 1, kRight = 2 };
enum Border { kFlat = 0, kRaised = 1, kSunken = 2 };
enum Fill {
    kTransparentFill = 0,
    kSolid = 1,
    kHorizontalColorToWhite = 5,
    kVerticalWhiteToColor = 7,
    kVerticalColorToBlack = 8,
};
enum Effect { kNoEffect = 0, kBulge = 3, kShadow = 4 };
enum BackgroundStyle { kNoBackground = 0, kBorderOnly = 1, kFilled = 2, kFilledWithBorder = 3 };

struct StateLook {
    Color background;
    Color text;
    int fill = kSolid;
    int border = kFlat;
    int fontStyle = kPlain;
    int effect = kNoEffect;
};

struct MenuLook {
    int width = 120;
    int height = 22;
    int gap = 0;
    bool horizontal = false;
    int backgroundStyle = kNoBackground;
    Color menuBackground = 0;
    int borderThick = 0;
    int font = kHelvetica;
    int fontSize = 12;
    int textAlign = kLeft;
    int textOffset = 6;
    int imageAlign = kLeft;
    int imageOffset = 0;
    int gradient = 1;
    std::array<StateLook, 3> states;
};

struct Anchor {
    int x = 0;
    int y = 0;
    int corner = 0;
};

void ApplyLook(CVorane& menu, const MenuLook& look, Anchor anchor) {
    menu.m_BKColor = look.menuBackground;
    menu.m_BKStyle = look.backgroundStyle;
    menu.m_MenuAlign = look.horizontal ? 1 : 0;
    menu.m_Corner = anchor.corner;
    menu.m_xPos = anchor.x;
    menu.m_yPos = anchor.y;
    menu.m_Width = look.width;
    menu.m_Height = look.height;
    menu.m_ItemGap = look.gap;
    menu.m_BorderThick = look.borderThick;
    for (std::size_t s = 0; s < 3; ++s) {
        const StateLook& state = look.states[s];
        ItemStyle& style = menu.m_itemStyle[s];
        style.BKColor = state.background;
        style.FRColor = state.text;
        style.ItemBorderStyle = state.border;
        style.ItemFillStyle = state.fill;
        style.GradientDirection = look.gradient;
        style.FontEffect = state.effect;
        style.FontName = look.font;
        style.FontSize = look.fontSize;
        style.FontStyle = state.fontStyle;
        style.TextAlign = look.textAlign;
        style.TextOffset = look.textOffset;
        style.ImageAlign = look.imageAlign;
        style.ImageOffset = look.imageOffset;
    }
}

CVorane& AddTopMenu(CAppletParameters& applet, const MenuLook& look, Anchor anchor) {
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);
    CVorane& menu = *applet.m_menus.back();
    ApplyLook(menu, look, anchor);
    return menu;
}

CVorane& SubMenu(CVoraneItem& item, const MenuLook& look, Anchor anchor) {
    CVorane& menu = item.SubMenu();
    ApplyLook(menu, look, anchor);
    return menu;
}

CVoraneItem& AddItem(CVorane& menu, const char* label, const char* link = "", const char* description = "") {
    auto item = std::make_unique<CVoraneItem>(label);
    item->m_link = link;
    item->m_description = description;
    CVoraneItem& added = *item;
    menu.AddItem(std::move(item), 0);
    return added;
}

// Adds items labelled from the list, each linking to "<stem><n>.html".
void AddItems(CVorane& menu, std::initializer_list<const char*> labels, const std::string& stem) {
    int n = 1;
    for (const char* label : labels) {
        CVoraneItem& item = AddItem(menu, label);
        item.m_link = stem + std::to_string(n++) + ".html";
    }
}

// An item: a plain link, or, with entries, the opener of a menu of those entries whose
// items link to "<link><n>.html".
struct Entry {
    const char* label;
    const char* link;
    std::initializer_list<const char*> entries = {};
};

// Adds the entries to menu, each non-empty entry's menu styled with subLook at subAnchor.
std::vector<CVoraneItem*> AddEntries(CVorane& menu, std::initializer_list<Entry> entries, const MenuLook& subLook,
                                     Anchor subAnchor) {
    std::vector<CVoraneItem*> added;
    for (const Entry& entry : entries) {
        const bool opens = entry.entries.size() > 0;
        CVoraneItem& item = AddItem(menu, entry.label, opens ? "" : entry.link);
        if (opens) AddItems(SubMenu(item, subLook, subAnchor), entry.entries, entry.link);
        added.push_back(&item);
    }
    return added;
}

bool OpensMenu(const CVoraneItem& item) { return !item.m_subMenu->m_items.empty(); }

struct Media {
    std::string dir;
    std::string Image(const char* name) const { return dir + "/Image/" + name; }
    std::string Audio(const char* name) const { return dir + "/Audio/" + name; }
};

void SetImages(CVoraneItem& item, const std::string& normal, const std::string& over, const std::string& click) {
    item.m_normalImage = normal;
    item.m_overImage = over;
    item.m_clickImage = click;
}

// The applet reaches from its top-left corner to the menus' far edges, with a margin.
void FitApplet(CAppletParameters& applet) {
    constexpr int kMargin = 10;
    Rect bounds;
    for (const auto& menu : applet.m_menus)
        if (menu->m_visible) MenuExtent(bounds, menu.get(), 0, 0);
    applet.m_appWidth = bounds.right + kMargin;
    applet.m_appHeight = bounds.bottom + kMargin;
}

// --- Normal: one plain vertical menu with a fly-out, navy and white. ---------------
MenuLook NavyLook() {
    MenuLook look;
    look.width = 130;
    look.height = 24;
    look.gap = 2;
    look.textOffset = 10;
    look.states = {StateLook{Rgb(0, 51, 102), Rgb(255, 255, 255)},
                   StateLook{Rgb(0, 102, 204), Rgb(255, 255, 255)},
                   StateLook{Rgb(255, 204, 0), Rgb(0, 51, 102), kSolid, kFlat, kBold}};
    return look;
}

void BuildNormal(CAppletParameters& applet, const std::string&) {
    applet.m_HTMLTitle = "Normal Menu";
    applet.m_Align = 1;
    applet.m_appBKColor = Rgb(255, 255, 255);
    const MenuLook look = NavyLook();
    CVorane& menu = AddTopMenu(applet, look, {10, 10});
    AddItem(menu, "Home", "index.html", "Back to the start page");
    CVoraneItem& products = AddItem(menu, "Products", "", "What we make");
    AddItem(menu, "Support", "support.html", "Help with our products");
    AddItem(menu, "About Us", "about.html");
    AddItem(menu, "Contact", "contact.html");
    MenuLook subLook = look;
    subLook.states[0].background = Rgb(0, 76, 153);
    CVorane& sub = SubMenu(products, subLook, {look.width + 2, 0});
    AddItems(sub, {"Software", "Hardware", "Services"}, "products");
    FitApplet(applet);
}

// --- Group Buttons: three columns of raised buttons, one colour per group. ---------
MenuLook ButtonGroupLook(Color face, Color over, Color text) {
    MenuLook look;
    look.width = 110;
    look.height = 26;
    look.gap = 4;
    look.backgroundStyle = kFilledWithBorder;
    look.menuBackground = Rgb(224, 224, 224);
    look.borderThick = 2;
    look.textAlign = kCenter;
    look.textOffset = 0;
    look.states = {StateLook{face, text, kSolid, kRaised, kBold},
                   StateLook{over, text, kSolid, kRaised, kBold},
                   StateLook{over, text, kSolid, kSunken, kBold}};
    return look;
}

void BuildGroupButtons(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Group Buttons";
    applet.m_appBKColor = Rgb(240, 240, 240);
    struct Group {
        const char* stem;
        Color face;
        Color over;
        std::initializer_list<const char*> labels;
    };
    const Group groups[] = {
        // White text keeps 4.5:1 to every face, the lighter hovered one too.
        {"news", Rgb(176, 52, 40), Rgb(200, 64, 48), {"Headlines", "Sports", "Weather", "Archive"}},
        {"shop", Rgb(34, 112, 52), Rgb(44, 128, 60), {"New Arrivals", "Offers", "Basket", "Checkout"}},
        {"help", Rgb(40, 88, 168), Rgb(56, 108, 196), {"Questions", "Manuals", "Downloads", "Write to Us"}},
    };
    int x = 10;
    for (const Group& group : groups) {
        CVorane& menu = AddTopMenu(applet, ButtonGroupLook(group.face, group.over, Rgb(255, 255, 255)), {x, 10});
        AddItems(menu, group.labels, group.stem);
        for (const auto& item : menu.m_items) item->m_clickAudio = media.Audio("click.au");
        x += 120;
    }
    FitApplet(applet);
}

// --- Sensitive Button: big gradient buttons that light up and sound. ---------------
void BuildSensitiveButton(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Sensitive Buttons";
    applet.m_appBKColor = Rgb(24, 32, 48);
    MenuLook look;
    look.width = 120;
    look.height = 36;
    look.gap = 8;
    look.horizontal = true;
    look.fontSize = 14;
    look.textAlign = kCenter;
    look.textOffset = 0;
    look.gradient = 0;
    look.states = {StateLook{Rgb(40, 80, 160), Rgb(255, 255, 255), kVerticalWhiteToColor, kRaised, kBold},
                   StateLook{Rgb(255, 160, 0), Rgb(32, 32, 32), kVerticalWhiteToColor, kRaised, kBold, kBulge},
                   StateLook{Rgb(200, 40, 40), Rgb(255, 255, 255), kVerticalColorToBlack, kSunken, kBold}};
    CVorane& menu = AddTopMenu(applet, look, {10, 10});
    AddItems(menu, {"Home", "Gallery", "Music", "Contact"}, "page");
    for (const auto& item : menu.m_items) {
        item->m_overAudio = media.Audio("tick.au");
        item->m_clickAudio = media.Audio("chime.au");
    }
    FitApplet(applet);
}

// --- Image Map: transparent areas over a town map. ----------------------------------
void BuildImageMap(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Image Map";
    applet.m_appWidth = 400;
    applet.m_appHeight = 240;
    applet.m_appBKImagePath = media.Image("map.jpg");
    MenuLook look;
    look.width = 110;
    look.height = 28;
    look.backgroundStyle = kNoBackground;
    look.borderThick = 2;
    look.fontSize = 14;
    look.textAlign = kCenter;
    look.textOffset = 0;
    look.states = {StateLook{0, Rgb(255, 255, 255), kTransparentFill, kFlat, kBold, kShadow},
                   StateLook{0, Rgb(255, 240, 64), kTransparentFill, kRaised, kBold, kShadow},
                   StateLook{0, Rgb(255, 128, 0), kTransparentFill, kSunken, kBold, kShadow}};
    struct Area {
        const char* label;
        const char* link;
        Anchor at;
    };
    const Area areas[] = {{"City Park", "park.html", {35, 46}},
                          {"Old Town", "oldtown.html", {250, 66}},
                          {"Station", "station.html", {40, 119}},
                          {"Harbour", "harbour.html", {226, 184}}};
    for (const Area& area : areas) {
        CVorane& menu = AddTopMenu(applet, look, area.at);
        AddItem(menu, area.label, area.link);
    }
}

// --- Hot Spot: labelled markers on a picture. ---------------------------------------
MenuLook SpotLook(int align) {
    MenuLook look;
    look.width = 96;
    look.height = 24;
    look.backgroundStyle = kNoBackground;
    look.fontSize = 12;
    look.textAlign = align;
    look.textOffset = 22;
    look.imageAlign = align;
    look.imageOffset = 1;
    // Light text with a shadow reads on light and dark parts of a picture alike.
    look.states = {StateLook{0, Rgb(255, 255, 255), kTransparentFill, kFlat, kBold, kShadow},
                   StateLook{0, Rgb(255, 240, 64), kTransparentFill, kFlat, kBold, kShadow},
                   StateLook{0, Rgb(255, 160, 32), kTransparentFill, kFlat, kBold, kShadow}};
    return look;
}

struct Spot {
    const char* label;
    const char* link;
    const char* description;
    int x;
    int y;
    bool leftward;  // near the right edge: marker and label grow to the left
};

CVoraneItem& AddSpot(CAppletParameters& applet, const Media& media, const Spot& spot) {
    const int corner = spot.leftward ? 1 : 0;
    CVorane& menu = AddTopMenu(applet, SpotLook(spot.leftward ? kRight : kLeft), {spot.x, spot.y, corner});
    CVoraneItem& item = AddItem(menu, spot.label, spot.link, spot.description);
    SetImages(item, media.Image("spot.gif"), media.Image("spot_over.gif"), media.Image("spot_over.gif"));
    return item;
}

void BuildHotSpot(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Hot Spot";
    applet.m_appWidth = 360;
    applet.m_appHeight = 240;
    applet.m_appBKImagePath = media.Image("scene.jpg");
    const Spot spots[] = {{"Screen", "screen.html", "Our displays", 171, 95, false},
                          {"Books", "books.html", "Reading corner", 33, 130, false},
                          {"Telephone", "phone.html", "Call us", 300, 149, true},
                          {"Lamp", "lamp.html", "Desk lights", 350, 96, true}};
    for (const Spot& spot : spots) AddSpot(applet, media, spot);
}

// --- ToolBar: a flat bar of picture buttons. ----------------------------------------
void BuildToolBar(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "ToolBar";
    applet.m_appBKColor = Rgb(212, 208, 200);
    MenuLook look;
    look.width = 72;
    look.height = 26;
    look.gap = 2;
    look.horizontal = true;
    look.backgroundStyle = kFilled;
    look.menuBackground = Rgb(212, 208, 200);
    look.borderThick = 1;
    look.fontSize = 11;
    look.textOffset = 27;
    look.imageOffset = 3;
    const Color face = Rgb(212, 208, 200);
    look.states = {StateLook{face, Rgb(0, 0, 0), kSolid, kFlat},
                   StateLook{face, Rgb(0, 0, 128), kSolid, kRaised},
                   StateLook{Rgb(190, 186, 178), Rgb(0, 0, 128), kSolid, kSunken}};
    CVorane& bar = AddTopMenu(applet, look, {2, 2});
    struct Button {
        const char* label;
        const char* icon;
        const char* link;
    };
    const Button buttons[] = {{"New", "tb_new.gif", "new.html"},     {"Open", "tb_open.gif", "open.html"},
                              {"Save", "tb_save.gif", "save.html"},  {"Print", "tb_print.gif", "print.html"},
                              {"Find", "tb_find.gif", "find.html"},  {"Help", "tb_help.gif", "help.html"}};
    for (const Button& button : buttons) {
        CVoraneItem& item = AddItem(bar, button.label, button.link);
        const std::string icon = media.Image(button.icon);
        SetImages(item, icon, icon, icon);
    }
    FitApplet(applet);
}

// --- CoolBar: two bands of grey pictures that take colour under the mouse. ---------
void BuildCoolBar(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "CoolBar";
    applet.m_appBKColor = Rgb(236, 233, 216);
    MenuLook look;
    look.width = 100;
    look.height = 40;
    look.gap = 2;
    look.horizontal = true;
    look.backgroundStyle = kFilled;
    look.menuBackground = Rgb(236, 233, 216);
    look.fontSize = 12;
    look.textOffset = 40;
    look.imageOffset = 4;
    look.gradient = 0;
    const Color band = Rgb(214, 223, 247);
    look.states = {StateLook{band, Rgb(64, 64, 64), kVerticalWhiteToColor, kFlat},
                   StateLook{Rgb(255, 214, 120), Rgb(0, 0, 0), kVerticalWhiteToColor, kRaised},
                   StateLook{Rgb(255, 180, 60), Rgb(0, 0, 0), kVerticalWhiteToColor, kSunken}};
    struct Button {
        const char* label;
        const char* name;
    };
    const std::initializer_list<Button> bands[] = {
        {{"Back", "back"}, {"Forward", "forward"}, {"Stop", "stop"}, {"Home", "home"}},
        {{"Search", "search"}, {"Favorites", "favorites"}, {"History", "history"}, {"Mail", "mail"}}};
    int y = 2;
    for (const auto& buttons : bands) {
        CVorane& menu = AddTopMenu(applet, look, {2, y});
        for (const Button& button : buttons) {
            const std::string colour = std::string("cb_") + button.name + ".gif";
            const std::string grey = std::string("cb_") + button.name + "_gray.gif";
            CVoraneItem& item = AddItem(menu, button.label, (std::string(button.name) + ".html").c_str());
            SetImages(item, media.Image(grey.c_str()), media.Image(colour.c_str()), media.Image(colour.c_str()));
        }
        y += look.height + 4;
    }
    FitApplet(applet);
}

// --- Horizontal Menu: a bar with drop-down menus. ------------------------------------
void BuildHorizontalMenu(CAppletParameters& applet, const std::string&) {
    applet.m_HTMLTitle = "Horizontal Menu";
    applet.m_appBKColor = Rgb(255, 255, 255);
    MenuLook bar;
    bar.width = 100;
    bar.height = 26;
    bar.horizontal = true;
    bar.backgroundStyle = kFilled;
    bar.menuBackground = Rgb(44, 62, 80);
    bar.fontSize = 13;
    bar.textAlign = kCenter;
    bar.textOffset = 0;
    bar.states = {StateLook{Rgb(44, 62, 80), Rgb(255, 255, 255), kSolid, kFlat, kBold},
                  StateLook{Rgb(190, 82, 0), Rgb(255, 255, 255), kSolid, kFlat, kBold},
                  StateLook{Rgb(160, 62, 0), Rgb(255, 255, 255), kSolid, kFlat, kBold}};
    MenuLook drop;
    drop.width = 140;
    drop.height = 24;
    drop.gap = 1;
    drop.backgroundStyle = kFilledWithBorder;
    drop.menuBackground = Rgb(189, 195, 199);
    drop.borderThick = 1;
    drop.textOffset = 10;
    drop.states = {StateLook{Rgb(236, 240, 241), Rgb(44, 62, 80)},
                   StateLook{Rgb(190, 82, 0), Rgb(255, 255, 255)},
                   StateLook{Rgb(160, 62, 0), Rgb(255, 255, 255)}};
    AddEntries(AddTopMenu(applet, bar, {0, 0}),
               {{"Home", "index.html"},
                {"Company", "company", {"History", "Team", "Jobs"}},
                {"Products", "product", {"Bicycles", "Helmets", "Lights", "Spare Parts"}},
                {"Service", "service", {"Repairs", "Rentals"}},
                {"Contact", "contact", {"Write to Us", "Find Us"}}},
               drop, {0, bar.height});
    FitApplet(applet);
}

// --- Vertical Menu: a column with fly-outs marked by arrows. -------------------------
void BuildVerticalMenu(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Vertical Menu";
    applet.m_appBKColor = Rgb(255, 255, 255);
    MenuLook look;
    look.width = 150;
    look.height = 24;
    look.gap = 1;
    look.backgroundStyle = kFilled;
    look.menuBackground = Rgb(20, 90, 50);
    look.textOffset = 10;
    look.imageAlign = kRight;
    look.imageOffset = 6;
    look.states = {StateLook{Rgb(30, 130, 76), Rgb(255, 255, 255)},
                   StateLook{Rgb(18, 100, 54), Rgb(255, 255, 255), kSolid, kFlat, kBold},
                   StateLook{Rgb(20, 90, 50), Rgb(255, 255, 255), kSolid, kSunken, kBold}};
    MenuLook fly = look;
    fly.imageAlign = kLeft;
    fly.states[0].background = Rgb(28, 120, 70);
    const auto items = AddEntries(AddTopMenu(applet, look, {10, 10}),
                                  {{"Welcome", "welcome.html"},
                                   {"Garden", "garden", {"Flowers", "Vegetables", "Trees"}},
                                   {"Kitchen", "kitchen", {"Recipes", "Tools", "Seasons"}},
                                   {"Workshop", "workshop", {"Wood", "Metal"}},
                                   {"Guest Book", "guestbook.html"}},
                                  fly, {look.width + 1, 0});
    const std::string arrow = media.Image("arrow.gif");
    for (CVoraneItem* item : items)
        if (OpensMenu(*item)) SetImages(*item, arrow, arrow, arrow);
    FitApplet(applet);
}

// --- Vertical Menu2: right-aligned, bulleted, opening to the left. -------------------
void BuildVerticalMenu2(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Vertical Menu2";
    applet.m_Align = 2;
    applet.m_appBKColor = Rgb(250, 246, 255);
    MenuLook look;
    look.width = 176;
    look.height = 26;
    look.gap = 3;
    look.font = kTimes;
    look.fontSize = 14;
    look.textOffset = 24;
    look.imageOffset = 8;
    look.gradient = 0;
    look.states = {StateLook{Rgb(120, 80, 170), Rgb(255, 255, 255), kHorizontalColorToWhite, kFlat, kItalic},
                   StateLook{Rgb(240, 140, 40), Rgb(60, 20, 90), kHorizontalColorToWhite, kFlat, kBold},
                   StateLook{Rgb(90, 50, 140), Rgb(255, 255, 255), kSolid, kSunken, kBold}};
    // Anchored by its top-right corner at the applet's right edge.
    const int appletWidth = 340;
    MenuLook sub = look;
    sub.width = 150;
    sub.states[0].background = Rgb(150, 110, 200);
    // Each sub menu's top-right corner sits on its item's top-left corner.
    const auto items = AddEntries(AddTopMenu(applet, look, {appletWidth - 10, 10, 1}),
                                  {{"Poems", "poems", {"Spring", "Summer", "Autumn", "Winter"}},
                                   {"Stories", "stories", {"Short", "Long"}},
                                   {"Letters", "letters.html"},
                                   {"About the Author", "author.html"}},
                                  sub, {-2, 0, 1});
    const std::string bullet = media.Image("bullet.gif");
    const std::string bulletOver = media.Image("bullet_over.gif");
    for (CVoraneItem* item : items) {
        SetImages(*item, bullet, bulletOver, bulletOver);
        for (const auto& subItem : item->m_subMenu->m_items) SetImages(*subItem, bullet, bulletOver, bulletOver);
    }
    FitApplet(applet);
    applet.m_appWidth = appletWidth;
}

// --- Standard Window Menu: a desktop menu bar. ---------------------------------------
void BuildStandardWindowMenu(CAppletParameters& applet, const std::string&) {
    applet.m_HTMLTitle = "Standard Window Menu";
    applet.m_appBKColor = Rgb(255, 255, 255);
    const Color face = Rgb(212, 208, 200);
    const Color highlight = Rgb(10, 36, 106);
    MenuLook bar;
    bar.width = 56;
    bar.height = 24;
    bar.horizontal = true;
    bar.backgroundStyle = kFilled;
    bar.menuBackground = face;
    bar.textAlign = kCenter;
    bar.textOffset = 0;
    bar.states = {StateLook{face, Rgb(0, 0, 0)}, StateLook{face, Rgb(0, 0, 0), kSolid, kRaised},
                  StateLook{face, Rgb(0, 0, 0), kSolid, kSunken}};
    MenuLook drop;
    drop.width = 150;
    drop.height = 24;
    drop.backgroundStyle = kFilledWithBorder;
    drop.menuBackground = face;
    drop.borderThick = 2;
    drop.textOffset = 18;
    drop.states = {StateLook{face, Rgb(0, 0, 0)}, StateLook{highlight, Rgb(255, 255, 255)},
                   StateLook{highlight, Rgb(255, 255, 255)}};
    AddEntries(AddTopMenu(applet, bar, {0, 0}),
               {{"File", "file", {"New", "Open...", "Save", "Save As...", "Print...", "Exit"}},
                {"Edit", "edit", {"Undo", "Cut", "Copy", "Paste", "Select All"}},
                {"View", "view", {"Toolbar", "Status Bar", "Refresh"}},
                {"Window", "window", {"Cascade", "Tile", "Arrange Icons"}},
                {"Help", "help", {"Help Topics", "About..."}}},
               drop, {0, bar.height});
    FitApplet(applet);
}

// --- Hot Spot Menu: markers on a picture that open menus. ----------------------------
void BuildHotSpotMenu(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Hot Spot Menu";
    applet.m_appWidth = 360;
    applet.m_appHeight = 260;
    applet.m_appBKImagePath = media.Image("house.jpg");
    MenuLook pop;
    pop.width = 130;
    pop.height = 24;
    pop.gap = 1;
    pop.backgroundStyle = kFilledWithBorder;
    pop.menuBackground = Rgb(96, 64, 32);
    pop.borderThick = 1;
    pop.textOffset = 8;
    pop.states = {StateLook{Rgb(255, 250, 235), Rgb(64, 40, 16)}, StateLook{Rgb(160, 56, 40), Rgb(255, 255, 255)},
                  StateLook{Rgb(112, 40, 28), Rgb(255, 255, 255)}};
    struct Room {
        Spot spot;
        const char* stem;
        std::initializer_list<const char*> entries;
    };
    const Room rooms[] = {
        {{"Roof", "", "Roof and chimney", 96, 86, false}, "roof", {"Tiles", "Solar Panels", "Chimney"}},
        {{"Windows", "", "Windows and light", 91, 138, false}, "window", {"Glazing", "Shutters", "Curtains"}},
        {{"Door", "", "Entrance", 141, 170, false}, "door", {"Locks", "Door Bell", "Porch"}},
        {{"Garden", "", "Garden and trees", 310, 130, true}, "garden", {"Trees", "Lawn", "Fences"}}};
    for (const Room& room : rooms) {
        CVoraneItem& item = AddSpot(applet, media, room.spot);
        item.m_overAudio = media.Audio("tick.au");
        // Below the marker; near the right edge the menu grows to the left.
        const int gap = SpotLook(0).height + 2;
        const Anchor below = room.spot.leftward ? Anchor{96, gap, 1} : Anchor{0, gap, 0};
        AddItems(SubMenu(item, pop, below), room.entries, room.stem);
    }
}

// --- Multi-level Menu: four levels of fly-outs, each level a shade darker. ----------
void BuildMultiLevelMenu(CAppletParameters& applet, const std::string& sampleDir) {
    const Media media{sampleDir};
    applet.m_HTMLTitle = "Multi-level Menu";
    applet.m_appBKColor = Rgb(255, 255, 255);
    const Color shades[] = {Rgb(214, 234, 248), Rgb(174, 214, 241), Rgb(133, 193, 233), Rgb(93, 173, 226)};
    auto levelLook = [&](int level) {
        MenuLook look;
        look.width = 130;
        look.height = 24;
        look.gap = 1;
        look.backgroundStyle = kFilledWithBorder;
        look.menuBackground = Rgb(27, 79, 114);
        look.borderThick = 1;
        look.textOffset = 8;
        look.imageAlign = kRight;
        look.imageOffset = 6;
        look.states = {StateLook{shades[level], Rgb(27, 38, 49)},
                       StateLook{Rgb(27, 79, 114), Rgb(255, 255, 255), kSolid, kFlat, kBold},
                       StateLook{Rgb(21, 67, 96), Rgb(255, 255, 255), kSolid, kSunken, kBold}};
        return look;
    };
    const std::string arrow = media.Image("arrow_dark.gif");
    auto opens = [&](CVoraneItem& item, int level) -> CVorane& {
        SetImages(item, arrow, arrow, arrow);
        return SubMenu(item, levelLook(level), {131, 0});
    };
    CVorane& top = AddTopMenu(applet, levelLook(0), {10, 10});
    AddItem(top, "Home", "index.html");
    CVoraneItem& catalogue = AddItem(top, "Catalogue");
    AddItem(top, "Contact", "contact.html");

    CVorane& level1 = opens(catalogue, 1);
    CVoraneItem& software = AddItem(level1, "Software");
    CVoraneItem& hardware = AddItem(level1, "Hardware");
    AddItem(level1, "Books", "books.html");

    CVorane& softwareMenu = opens(software, 2);
    CVoraneItem& office = AddItem(softwareMenu, "Office");
    CVoraneItem& games = AddItem(softwareMenu, "Games");
    AddItems(opens(office, 3), {"Writer", "Spreadsheet", "Slides"}, "office");
    AddItems(opens(games, 3), {"Puzzles", "Racing"}, "games");

    CVorane& hardwareMenu = opens(hardware, 2);
    CVoraneItem& input = AddItem(hardwareMenu, "Input");
    AddItem(hardwareMenu, "Screens", "screens.html");
    AddItems(opens(input, 3), {"Keyboards", "Mice", "Tablets"}, "input");
    FitApplet(applet);
}

}  // namespace

const std::vector<BuiltinTemplate>& BuiltinTemplates() {
    static const std::vector<BuiltinTemplate> templates = {
        {"Normal", "A plain vertical menu in navy and white with one fly-out.", BuildNormal},
        {"Group Buttons", "Three columns of raised buttons, one colour per group; a click sounds.", BuildGroupButtons},
        {"Sensitive Button", "Large gradient buttons that light up and tick under the mouse and chime when clicked.",
         BuildSensitiveButton},
        {"Image Map", "Transparent areas with shadowed labels over a town map.", BuildImageMap},
        {"Hot Spot", "Labelled markers over a picture of a desk; the marker glows under the mouse.", BuildHotSpot},
        {"ToolBar", "A flat grey bar of picture buttons that rise under the mouse.", BuildToolBar},
        {"CoolBar", "Two bands of grey pictures that take their colour under the mouse.", BuildCoolBar},
        {"Horizontal Menu", "A dark bar with drop-down menus.", BuildHorizontalMenu},
        {"Vertical Menu", "A green column whose arrows mark fly-out menus to the right.", BuildVerticalMenu},
        {"Vertical Menu2", "A bulleted, right-aligned column in violet whose menus open to the left.",
         BuildVerticalMenu2},
        {"Standard Window Menu", "A grey desktop menu bar with File, Edit, View, Window and Help menus.",
         BuildStandardWindowMenu},
        {"Hot Spot Menu", "Markers on a picture of a house; each opens a menu about that part.", BuildHotSpotMenu},
        {"Multi-level Menu", "Four levels of fly-out menus, each level a shade darker.", BuildMultiLevelMenu},
    };
    return templates;
}
