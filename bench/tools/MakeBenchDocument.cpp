// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a generated document of N items (page and menu file) for measuring the
// program as a whole: kestrune_bench_document N PAGE.htm
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>

#include "../core/ModelGenerator.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"

int main(int argc, char** argv) {
    using namespace kestrune;
    int count = 0;
    if (argc != 3 || std::from_chars(argv[1], argv[1] + std::char_traits<char>::length(argv[1]), count).ec != std::errc()) {
        std::cerr << "usage: kestrune_bench_document N PAGE.htm\n";
        return 2;
    }
    const std::filesystem::path page = std::filesystem::absolute(argv[2]);
    bench::MediaFolder media(0);
    CAppletParameters applet;
    bench::GenerateApplet(applet, count, &media);
    std::string error;
    if (!SaveMenuFile(applet, page.string(), page.parent_path().string(), BuildHTML(applet), false, "",
                      page.parent_path().string(), &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    return 0;
}
