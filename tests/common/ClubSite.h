// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A sports club's site as its volunteer keeps it: fifteen hand-written pages, four of them
// in teams/, each with its own head, some with CR LF and some with LF line ends, one in
// Windows-1252, two with a menu pasted by hand long ago; pictures and sounds in their own
// folders; and the menu document that links them. More pages (an archive of match reports
// in folders of a hundred) make it as large as wanted.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

namespace kestrune::clubsite {

namespace fs = std::filesystem;

struct ClubPage {
    const char* path;
    const char* label;  // its item's label
    int group;          // 0 top-level item, 1 under "Club", 2 under "Teams"
};

// Hand-written pages; teams/index.html is the "Teams" item itself.
inline const std::vector<ClubPage>& ClubPages() {
    static const std::vector<ClubPage> pages = {
        {"index.html", "Home", 0},        {"news.html", "News", 0},
        {"fixtures.html", "Fixtures", 0}, {"results.html", "Results", 0},
        {"about.html", "About us", 1},    {"history.html", "History", 1},
        {"sponsors.html", "Sponsors", 1}, {"teams/index.html", "Teams", 0},
        {"teams/u10.html", "Under 10", 2}, {"teams/u12.html", "Under 12", 2},
        {"teams/seniors.html", "Seniors", 2}, {"gallery.html", "Gallery", 0},
        {"join.html", "Join", 0},         {"shop.html", "Shop", 0},
        {"contact.html", "Contact", 0},
    };
    return pages;
}

inline constexpr const char* kDocumentPage = "menu.htm";
inline constexpr const char* kOldMenu =
    "<ul><li><a href=\"index.html\">Home</a></li><li><a href=\"teams/u10.html\">U10</a></li></ul>";

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// One page as a person writes it: the style sheet, the crest and the club's own sounds
// linked from the page's folder.
inline std::string PageText(const std::string& path, const std::string& title, int variant) {
    const std::string up = path.find('/') == std::string::npos ? "" : "../";
    const bool lf = variant % 3 == 1;
    const bool windows1252 = variant == 5;
    const bool pasted = variant == 0 || path == "teams/u10.html";
    const std::string nl = lf ? "\n" : "\r\n";
    std::string text = "<!DOCTYPE html>" + nl + "<html lang=\"en\">" + nl + "<head>" + nl;
    text += windows1252 ? "<meta charset=\"windows-1252\">" : "<meta charset=\"utf-8\">";
    text += nl + "<title>" + title + (windows1252 ? " \x96 Caf\xE9" : " \xE2\x80\x93 Riverside Rovers") + "</title>" + nl;
    text += "<link rel=\"stylesheet\" href=\"" + up + "style.css\">" + nl + "</head>" + nl;
    text += "<BODY class=\"page\" data-note=\"a > b\">" + nl;
    if (pasted) text += std::string("<!-- kestrune-menu -->") + nl + kOldMenu + nl + "<!-- /kestrune-menu -->" + nl;
    text += "<header><img src=\"" + up + "images/crest.gif\" alt=\"Riverside Rovers crest\"></header>" + nl;
    text += "<main><h1>" + title + "</h1>" + nl + "<p>Training on Tuesdays and Thursdays at the Meadow ground.";
    text += nl + "Everyone is welcome, from five-year-olds to walking football.</p></main>" + nl;
    text += "<footer>&copy; Riverside Rovers FC</footer>" + nl + "</body>" + nl + "</html>" + nl;
    return text;
}

inline CVoraneItem& AddLinkedItem(CVorane& menu, const std::string& label, const std::string& link) {
    auto item = std::make_unique<CVoraneItem>(label);
    item->m_link = link;
    item->m_normalImage = "images/ball.gif";
    item->m_overAudio = "sounds/kick.au";
    CVoraneItem& added = *item;
    menu.AddItem(std::move(item), 0);
    return added;
}

inline CVorane& SubMenuOf(CVoraneItem& item) {
    if (!item.m_subMenu.Existing()) item.m_subMenu.Replace(std::make_unique<CVorane>());
    return *item.m_subMenu.Existing();
}

// The archive's pages: archive/season-NN/report-NNNN.html, a hundred to a folder.
inline std::string ArchivePage(int index) {
    const std::string number = std::to_string(10000 + index).substr(1);
    return "archive/season-" + std::to_string(index / 100) + "/report-" + number + ".html";
}

// Writes the site below top and fills applet with its menu (the document's folder is
// top). extraPages archive pages are added; with linkArchive each gets an item under
// "Archive".
inline void WriteClubSite(const fs::path& top, CAppletParameters& applet, int extraPages = 0,
                          bool linkArchive = false) {
    const auto& pages = ClubPages();
    for (std::size_t i = 0; i < pages.size(); ++i)
        WriteBytes(top / pages[i].path, PageText(pages[i].path, pages[i].label, static_cast<int>(i)));
    for (int i = 0; i < extraPages; ++i)
        WriteBytes(top / ArchivePage(i), PageText(ArchivePage(i), "Match report " + std::to_string(i), 1 + i % 2));
    WriteBytes(top / "style.css", "body { font-family: sans-serif; }\n");
    WriteBytes(top / "images/crest.gif", "GIF89a crest");
    WriteBytes(top / "images/ball.gif", "GIF89a ball");
    WriteBytes(top / "images/pitch.gif", "GIF89a pitch");
    WriteBytes(top / "sounds/kick.au", ".snd kick");

    applet.m_documentFolder = top.string();
    applet.m_HTMLTitle = "Riverside Rovers";
    applet.m_appBKImagePath = "images/pitch.gif";
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);
    CVorane& top_menu = *applet.m_menus.back();
    CVoraneItem* club = nullptr;
    CVoraneItem* teams = nullptr;
    for (const ClubPage& page : pages) {
        if (page.group == 1 && !club) club = &AddLinkedItem(top_menu, "Club", "");
        CVorane& menu = page.group == 1 ? SubMenuOf(*club) : page.group == 2 ? SubMenuOf(*teams) : top_menu;
        CVoraneItem& item = AddLinkedItem(menu, page.label, page.path);
        if (std::string(page.path) == "teams/index.html") teams = &item;
        if (std::string(page.path) == "gallery.html") item.m_description = "Photos \x96 season 2026";
        if (std::string(page.path) == "join.html") item.m_label = "Join \xE9quipe";
    }
    AddLinkedItem(top_menu, "League", "https://league.example.org/table");
    if (linkArchive && extraPages > 0) {
        CVorane& archive = SubMenuOf(AddLinkedItem(top_menu, "Archive", ""));
        for (int i = 0; i < extraPages; ++i) AddLinkedItem(archive, "Report " + std::to_string(i), ArchivePage(i));
    }
}

}  // namespace kestrune::clubsite
