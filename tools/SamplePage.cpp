// SPDX-License-Identifier: GPL-3.0-or-later
#include "SamplePage.h"

#include <algorithm>
#include <set>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Anchor(const std::string& name) {
    std::string anchor;
    for (char c : name) anchor += (c == ' ') ? '-' : c;
    return anchor;
}

// Media files by kind ("Image" or "Audio"), bare names in first-use order.
struct MediaUse {
    std::vector<std::string> images;
    std::vector<std::string> sounds;
    std::set<std::string> seen;
    void Note(const std::string& path, bool image) {
        if (path.empty() || !seen.insert(path).second) return;
        (image ? images : sounds).push_back(FileNameOf(path));
    }
};

// The menu tree as nested lists, with each menu's first items.
void AppendMenu(std::string& html, const CVorane& menu, MediaUse& media) {
    html += "<ul>";
    for (const auto& item : menu.m_items) {
        html += "<li>" + Escape(item->m_label);
        media.Note(item->m_normalImage, true);
        media.Note(item->m_overImage, true);
        media.Note(item->m_clickImage, true);
        media.Note(item->m_overAudio, false);
        media.Note(item->m_clickAudio, false);
        if (!item->m_subMenu->m_items.empty()) AppendMenu(html, *item->m_subMenu, media);
        html += "</li>";
    }
    html += "</ul>";
}

// The applet paragraph of the template's page. The page sits in Sample/, its media one
// folder further down, so each media field of the parameters gets its folder.
std::string AppletWithMediaFolders(CAppletParameters& applet, const MediaUse& media) {
    std::string paragraph = AppletParagraph(BuildPage(applet));
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = paragraph.find_first_of(",\"", start);
        const std::string field = paragraph.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const bool image = std::find(media.images.begin(), media.images.end(), field) != media.images.end();
        const bool sound = std::find(media.sounds.begin(), media.sounds.end(), field) != media.sounds.end();
        out += (image ? "Image/" : sound ? "Audio/" : "") + field;
        if (end == std::string::npos) return out;
        out += paragraph[end];
        start = end + 1;
    }
}

}  // namespace

void CSamplePage::Add(const BuiltinTemplate& builtin, CAppletParameters& applet) {
    const std::string anchor = Anchor(builtin.name);
    m_index += "<li><a href=\"#" + anchor + "\">" + Escape(builtin.name) + "</a></li>\r\n";

    MediaUse media;
    media.Note(applet.m_appBKImagePath, true);
    media.Note(applet.m_appBKAudioPath, false);
    std::string menus;
    for (const auto& menu : applet.m_menus) AppendMenu(menus, *menu, media);

    std::string& s = m_sections;
    s += "<h2 id=\"" + anchor + "\">" + Escape(builtin.name) + "</h2>\r\n";
    s += "<p>" + Escape(builtin.description) + " Applet size " + std::to_string(applet.m_appWidth) + " by " +
         std::to_string(applet.m_appHeight) + " pixels.</p>\r\n";
    if (!media.images.empty()) {
        // A line per picture keeps the page readable as source.
        s += "<p class=\"pictures\">\r\n";
        for (const std::string& image : media.images)
            s += "<img src=\"Image/" + image + "\" alt=\"" + image + "\" title=\"" + image + "\">\r\n";
        s += "</p>\r\n";
    }
    if (!media.sounds.empty()) {
        s += "<p>Sounds:";
        for (const std::string& sound : media.sounds) s += " <a href=\"Audio/" + sound + "\">" + sound + "</a>";
        s += "</p>\r\n";
    }
    s += AppletWithMediaFolders(applet, media) + "\r\n";
    s += "<div class=\"menus\">" + menus + "</div>\r\n";
}

bool CSamplePage::Write(const std::string& path) const {
    const std::string page =
        "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
        "<title>Kestrune Samples</title>\r\n<style>\r\n"
        "body { font-family: sans-serif; margin: 2em; max-width: 60em; color: #222; }\r\n"
        "h2 { border-bottom: 1px solid #bbb; padding-bottom: 0.2em; margin-top: 2em; }\r\n"
        ".pictures img { margin: 0.3em; vertical-align: middle; border: 1px solid #ddd; }\r\n"
        ".menus ul { margin: 0.1em 0 0.1em 1.2em; padding: 0; }\r\n"
        "</style>\r\n</head>\r\n<body>\r\n<h1>Kestrune Samples</h1>\r\n"
        "<p>Each built-in template is a complete menu to start from: choose it with File, New Vorane. "
        "Its pictures live in Sample/Image and its sounds in Sample/Audio beside the program; "
        "saving a document copies the ones it uses next to the page. The menus below work: the script "
        "runtime kestrune-menu.js draws them, as it draws your pages when Options, Script Runtime is on.</p>\r\n"
        "<ul>\r\n" +
        m_index + "</ul>\r\n" + m_sections +
        "<script src=\"../kestrune-menu.js\"></script>\r\n</body>\r\n</html>\r\n";
    return WriteFileAtomically(path, page);
}
