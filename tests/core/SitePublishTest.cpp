// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing a menu into every page of a site, and checking the site's links.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "OutputTestSupport.h"
#include "common/ClubSite.h"
#include "output/SiteLinks.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"
#include "site/LinkCheck.h"
#include "site/MenuMarkers.h"
#include "site/SitePublish.h"
#include "site/SiteTexts.h"

namespace kestrune {
namespace {

using test::ReadAll;
using test::TempDir;
namespace st = sitetexts;
namespace fs = std::filesystem;

// One table: where the page lies × what kind of link the document holds.
TEST(SiteLinks, LinksAreSeenFromThePagesFolder) {
    const std::vector<std::string> folders = {"", "teams", "teams/juniors"};
    struct Row {
        const char* link;
        std::vector<const char*> seen;  // from each folder above
    };
    const std::vector<Row> rows = {
        {"index.html", {"index.html", "../index.html", "../../index.html"}},
        {"teams/u10.html", {"teams/u10.html", "u10.html", "../u10.html"}},
        {"teams/juniors/u8.html", {"teams/juniors/u8.html", "juniors/u8.html", "u8.html"}},
        {"teams/", {"teams/", "./", "../"}},
        {"./news.html#latest", {"./news.html#latest", "../news.html#latest", "../../news.html#latest"}},
        {"shop.html?item=3#top", {"shop.html?item=3#top", "../shop.html?item=3#top", "../../shop.html?item=3#top"}},
        {"teams/../about.html", {"teams/../about.html", "../about.html", "../../about.html"}},
        {"../other-site/a.html", {"../other-site/a.html", "../../other-site/a.html", "../../../other-site/a.html"}},
        {"ball.gif", {"ball.gif", "../ball.gif", "../../ball.gif"}},
        {" join.html ", {" join.html ", "../join.html", "../../join.html"}},
        {"https://league.example.org/", {"https://league.example.org/", "https://league.example.org/", "https://league.example.org/"}},
        {"/root.html", {"/root.html", "/root.html", "/root.html"}},
        {"//cdn.example.org/x.js", {"//cdn.example.org/x.js", "//cdn.example.org/x.js", "//cdn.example.org/x.js"}},
        {"#top", {"#top", "#top", "#top"}},
        {"mailto:club@example.org", {"mailto:club@example.org", "mailto:club@example.org", "mailto:club@example.org"}},
        {"", {"", "", ""}},
    };
    for (const Row& row : rows)
        for (std::size_t f = 0; f < folders.size(); ++f)
            EXPECT_EQ(LinkSeenFrom(folders[f], row.link), row.seen[f]) << row.link << " from '" << folders[f] << "'";
    EXPECT_EQ(SitePathOfLink("teams/../teams/u10.html#x"), "teams/u10.html");
    EXPECT_EQ(SitePathOfLink("../x.html"), std::nullopt);
    EXPECT_EQ(SitePathOfLink("."), "");
}

TEST(MenuMarkers, FindsOneBalancedPairAndNamesEveryOtherShape) {
    const std::string open = st::kMarkerOpen, close = st::kMarkerClose;
    const std::vector<std::pair<std::string, MenuMarkers::State>> pages = {
        {"<body>" + open + "old" + close + "</body>", MenuMarkers::State::Found},
        {"<body></body>", MenuMarkers::State::None},
        {"<body>" + open + "old</body>", MenuMarkers::State::Unbalanced},
        {"<body>old" + close + "</body>", MenuMarkers::State::Unbalanced},
        {close + "x" + open, MenuMarkers::State::Unbalanced},
        {open + open + close + close, MenuMarkers::State::Nested},
        {open + close + open + close, MenuMarkers::State::Repeated},
    };
    for (const auto& [page, state] : pages) EXPECT_EQ(FindMenuMarkers(page).state, state) << page;
    const std::string page = "a\n" + open + "old" + close + "b";
    EXPECT_EQ(WithBlockBetween(page, FindMenuMarkers(page), "new\n"), "a\n" + open + "\nnew\n" + close + "b");
    const std::string body = "<html><BODY class=\"x\" data-y='a>b'>\r\n<p>";
    EXPECT_EQ(body.substr(BodyContentStart(body)), "\r\n<p>");
    EXPECT_EQ(BodyContentStart("<bodyguard>"), std::string::npos);
}

// The bytes of a page outside its markers (the markers themselves included once).
std::string Outside(const std::string& page) {
    const MenuMarkers markers = FindMenuMarkers(page);
    if (markers.state != MenuMarkers::State::Found) return page;
    return page.substr(0, markers.innerBegin) + page.substr(markers.innerEnd);
}

// The page as it was before the menu was added after its <body> tag.
std::string WithoutAddedMenu(const std::string& page) {
    const MenuMarkers markers = FindMenuMarkers(page);
    const std::string_view lineEnd = LineEndOf(page);
    const std::size_t begin = markers.innerBegin - std::string_view(st::kMarkerOpen).size() - lineEnd.size();
    return page.substr(0, begin) + page.substr(markers.innerEnd + std::string_view(st::kMarkerClose).size());
}

std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].str());
    return found;
}

// Every path the block names: links and media in the parameters, the list's links, the
// runtime and the class file.
std::vector<std::string> PathsInBlock(const std::string& block) {
    std::vector<std::string> paths = Matches(block, "href=\"([^\"]*)\"");
    for (const std::string& value : Matches(block, "<param name=\"I[0-9-]+\" value=\"([^\"]*)\"")) {
        std::vector<std::string> fields;
        std::stringstream stream(value);
        for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
        for (int i : {2, 3, 4, 5, 6, 8})
            if (i < static_cast<int>(fields.size()) && !fields[i].empty()) paths.push_back(fields[i]);
    }
    for (const std::string& path : Matches(block, "<script src=\"([^\"]*)\"")) paths.push_back(path);
    const std::vector<std::string> codeBase = Matches(block, " codebase=\"([^\"]*)\"");
    paths.push_back((codeBase.empty() ? "" : codeBase[0]) + Matches(block, "<applet code=\"([^\"]*)\"")[0]);
    return paths;
}

class ClubSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        clubsite::WriteClubSite(dir.Root() / "site", applet);
        fs::create_directories(dir / "program");
        dir.File("program/kestrune-menu.js", "/* runtime */");
        dir.File("program/trelvix.class", "class");
        const std::string page = (Top() / clubsite::kDocumentPage).string();
        std::string error;
        ASSERT_TRUE(SaveMenuFile(applet, page, Top().string(), BuildPage(applet, true), false, "",
                                 (dir / "program").string(), &error, nullptr, nullptr, true))
            << error;
    }
    fs::path Top() const { return dir / "site"; }
    std::vector<PageReport> Publish(bool add) {
        SitePublisher publisher(applet, Top());
        std::vector<PageReport> reports;
        PublishPages(publisher, ScanSite(Top(), clubsite::kDocumentPage), add,
                     [&](const PageReport& report) { reports.push_back(report); });
        return reports;
    }
    std::map<std::string, std::string> ReadPages() {
        std::map<std::string, std::string> pages;
        for (const auto& page : clubsite::ClubPages()) pages[page.path] = ReadAll(Top() / page.path);
        return pages;
    }

    TempDir dir;
    CAppletParameters applet;
};

TEST_F(ClubSiteTest, PublishPutsARightMenuIntoEveryPageAndKeepsEveryOtherByte) {
    const std::map<std::string, std::string> before = ReadPages();
    const std::vector<PageReport> reports = Publish(true);
    ASSERT_EQ(reports.size(), 15u);
    for (const PageReport& report : reports) {
        const bool pasted = report.path == "index.html" || report.path == "teams/u10.html";
        EXPECT_EQ(report.outcome, pasted ? PageReport::Outcome::Updated : PageReport::Outcome::Added)
            << ReportLine(report);
    }
    for (const auto& [path, page] : ReadPages()) {
        SCOPED_TRACE(path);
        const std::string& old = before.at(path);
        if (FindMenuMarkers(old).state == MenuMarkers::State::Found)
            EXPECT_EQ(Outside(page), Outside(old));
        else
            EXPECT_EQ(WithoutAddedMenu(page), old);
        const MenuMarkers markers = FindMenuMarkers(page);
        ASSERT_EQ(markers.state, MenuMarkers::State::Found);
        const std::string block = page.substr(markers.innerBegin, markers.innerEnd - markers.innerBegin);
        EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
        EXPECT_EQ(block.find("\r\n") == std::string::npos, LineEndOf(old) == "\n");
        const fs::path folder = (Top() / path).parent_path();
        for (const std::string& link : PathsInBlock(block)) {
            if (!IsRelativeLink(link)) continue;
            const std::string file = link.substr(0, link.find_first_of("?#"));
            EXPECT_TRUE(fs::is_regular_file(folder / file)) << link;
        }
        // Its own item, and only that one, leads to the page; the items above it are on its way.
        const std::vector<std::string> current = Matches(block, "href=\"([^\"]*)\"[^>]*aria-current=\"page\"");
        ASSERT_EQ(current.size(), 1u);
        EXPECT_EQ(fs::weakly_canonical(folder / current[0]), fs::weakly_canonical(Top() / path));
        EXPECT_EQ(block.find("aria-current=\"true\"") != std::string::npos,
                  (path.find('/') != std::string::npos && path != "teams/index.html") || path == "about.html" ||
                      path == "history.html" || path == "sponsors.html");
    }
    const std::string u10 = ReadAll(Top() / "teams/u10.html");
    EXPECT_NE(u10.find("href=\"../index.html\" target=\"_self\">Home</a>"), std::string::npos);
    EXPECT_NE(u10.find("<script src=\"../kestrune-menu.js\"></script>"), std::string::npos);
    EXPECT_NE(u10.find("Join &#233;quipe"), std::string::npos);
}

TEST_F(ClubSiteTest, ASecondPublishWritesNothing) {
    Publish(true);
    std::map<std::string, std::int64_t> stamps;
    for (const auto& page : clubsite::ClubPages()) stamps[page.path] = StampOf(Top() / page.path)->modifiedNs;
    for (const PageReport& report : Publish(true)) {
        EXPECT_EQ(report.outcome, PageReport::Outcome::Unchanged) << ReportLine(report);
        EXPECT_EQ(StampOf(Top() / report.path)->modifiedNs, stamps[report.path]);
    }
}

TEST_F(ClubSiteTest, PagesThatCannotBePublishedSafelyAreSkippedWithTheirReason) {
    const std::string open = st::kMarkerOpen, close = st::kMarkerClose;
    dir.File("site/nested.html", "<body>" + open + open + close + close);
    dir.File("site/twice.html", "<body>" + open + close + open + close);
    dir.File("site/half.html", "<body>" + open);
    dir.File("site/nobody.html", "<p>no body tag</p>");
    dir.File("site/plain.html", "<body>no markers</body>");
    fs::create_symlink(Top() / "index.html", Top() / "alias.html");
    ASSERT_EQ(::mkfifo((Top() / "pipe.html").c_str(), 0600), 0);
    fs::resize_file(dir.File("site/huge.html", "<body>" + open + close), kMaxSitePageBytes + 1);
    const std::map<std::string, std::string> expected = {
        {"nested.html", std::string(st::kSkipped) + st::kNestedMarkers},
        {"twice.html", std::string(st::kSkipped) + st::kRepeatedMarkers},
        {"half.html", std::string(st::kSkipped) + st::kUnbalancedMarkers},
        {"nobody.html", std::string(st::kSkipped) + st::kNoBody},
        {"alias.html", std::string(st::kSkipped) + st::kIsLink},
        {"pipe.html", std::string(st::kSkipped) + st::kNotRegular},
        {"huge.html", std::string(st::kSkipped) + st::kTooLarge},
        {"plain.html", st::kAdded},
    };
    std::map<std::string, std::string> told;
    for (const PageReport& report : Publish(true))
        if (expected.count(report.path)) told[report.path] = ReportLine(report).substr(report.path.size() + 2);
    EXPECT_EQ(told, expected);
    EXPECT_EQ(ReadAll(Top() / "nested.html"), "<body>" + open + open + close + close);

    // A page changed between the dialog's reading and the publish is left alone.
    SitePublisher publisher(applet, Top());
    const SitePage news{"news.html"};
    const PagePreview preview = publisher.Preview(news);
    EXPECT_EQ(StateText(preview), st::kStateUnchanged);
    dir.File("site/news.html", "<body>" + open + close + "edited");
    EXPECT_EQ(ReportLine(publisher.Publish(news, false, &preview.stamp)),
              std::string("news.html: ") + st::kSkipped + st::kChangedAfterRead);
    // No temporary file stays behind.
    for (const auto& entry : fs::recursive_directory_iterator(Top()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(LinkCheck, FindsEveryPlantedBrokenLinkAndOrphanAndNothingElse) {
    TempDir dir;
    const fs::path top = dir / "site";
    CAppletParameters applet;
    clubsite::WriteClubSite(top, applet, 985, true);
    CVorane& archive = *applet.m_menus[0]->m_items.back()->m_subMenu.Existing();
    std::set<std::string> orphans, broken, caseOnly;
    for (int i = 0; i < 985; i += 97) {
        orphans.insert(clubsite::ArchivePage(i));
        archive.m_items[static_cast<std::size_t>(i)]->m_link = "https://example.org/moved";
    }
    for (int i = 13; i < 985; i += 131) {
        std::string& link = archive.m_items[static_cast<std::size_t>(i)]->m_link;
        if (i % 2) {
            link[0] = 'A';  // "Archive/...": differs only in case
            caseOnly.insert(link);
        } else {
            link += ".old";
            broken.insert(link);
        }
        orphans.insert(clubsite::ArchivePage(i));
    }
    const LinkCheckResult result = CheckSiteLinks(applet, top, ScanSite(top, clubsite::kDocumentPage));
    std::set<std::string> foundBroken, foundCase;
    for (const auto& link : result.broken) {
        (link.sameButCase.empty() ? foundBroken : foundCase).insert(link.link);
        if (!link.sameButCase.empty()) {
            EXPECT_EQ("a" + link.link.substr(1), link.sameButCase);
        }
    }
    EXPECT_EQ(foundBroken, broken);
    EXPECT_EQ(foundCase, caseOnly);
    EXPECT_EQ(std::set<std::string>(result.orphans.begin(), result.orphans.end()), orphans);
    EXPECT_EQ(result.leaving, 1 + (985 + 96) / 97);
    EXPECT_NE(result.report.find(std::string(st::kOrphanStart) + clubsite::ArchivePage(0) + st::kOrphanEnd),
              std::string::npos);
}

}  // namespace
}  // namespace kestrune
