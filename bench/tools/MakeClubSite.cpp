// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the sports club's site (fifteen pages, four in teams/) with ARCHIVE more pages of
// match reports, and its menu document menu.htm, for measuring and trying publishing:
// kestrune_club_site FOLDER [ARCHIVE [--link-archive]]
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>

#include "common/ClubSite.h"
#include "output/HtmlPageBuilder.h"
#include "services/MenuFileWriter.h"

int main(int argc, char** argv) {
    using namespace kestrune;
    int archive = 0;
    const bool counted = argc >= 3 && std::from_chars(argv[2], argv[2] + std::char_traits<char>::length(argv[2]), archive).ec == std::errc();
    const bool linked = argc == 4 && std::string(argv[3]) == "--link-archive";
    if (argc < 2 || argc > 4 || (argc >= 3 && !counted) || (argc == 4 && !linked)) {
        std::cerr << "usage: kestrune_club_site FOLDER [ARCHIVE [--link-archive]]\n";
        return 2;
    }
    const std::filesystem::path top = std::filesystem::absolute(argv[1]);
    CAppletParameters applet;
    clubsite::WriteClubSite(top, applet, archive, linked);
    const std::string page = (top / clubsite::kDocumentPage).string();
    std::string error;
    if (!SaveMenuFile(applet, page, top.string(), BuildHTML(applet), false, "", top.string(), &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    return 0;
}
