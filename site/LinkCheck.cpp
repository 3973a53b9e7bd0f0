// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/LinkCheck.h"

#include <map>
#include <optional>
#include <unordered_set>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/LinkScheme.h"
#include "output/SiteLinks.h"
#include "site/MenuLinks.h"
#include "output/OutputTexts.h"
#include "site/SiteTexts.h"

namespace kestrune {

namespace fs = std::filesystem;
namespace st = sitetexts;

namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return folded;
}

// Finds names in the site as a case-insensitive file system would: each folder is listed
// once.
class CaseBlindLookup {
public:
    explicit CaseBlindLookup(fs::path top) : m_top(std::move(top)) {}

    // The existing path (below the top) that equals path but for letter case; empty when none.
    std::string Find(const std::string& path) {
        std::string found;
        std::size_t start = 0;
        while (start <= path.size()) {
            const std::size_t slash = path.find('/', start);
            const std::string segment = path.substr(start, slash - start);
            if (segment.empty()) {
                if (slash == std::string::npos) break;
            } else {
                const std::map<std::string, std::string>& names = Listing(found);
                const auto it = names.find(Folded(segment));
                if (it == names.end()) return {};
                found += it->second;
            }
            if (slash == std::string::npos) break;
            found += '/';
            start = slash + 1;
        }
        return found;
    }

private:
    const std::map<std::string, std::string>& Listing(const std::string& folder) {
        auto [it, fresh] = m_listings.try_emplace(folder);
        if (!fresh) return it->second;
        std::error_code error;
        for (fs::directory_iterator entry(m_top / folder, error), end; !error && entry != end; entry.increment(error)) {
            const std::string name = entry->path().filename().string();
            it->second.try_emplace(Folded(name), name);  // the first in byte order is kept by map order
        }
        return it->second;
    }

    fs::path m_top;
    std::map<std::string, std::map<std::string, std::string>> m_listings;
};

// Whether the path inside the site names a file a web server would give: a file, or a
// folder with an index page.
bool NamesFile(const fs::path& top, const std::string& path) {
    std::error_code error;
    const fs::path full = top / path;
    if (!path.empty() && path.back() != '/' && fs::is_regular_file(full, error)) return true;
    if (!fs::is_directory(full, error)) return false;
    return fs::is_regular_file(full / "index.html", error) || fs::is_regular_file(full / "index.htm", error);
}

void AppendReport(LinkCheckResult& result) {
    std::string& report = result.report;
    report = st::kLinkReportHeader;
    for (const LinkCheckResult::Broken& broken : result.broken) {
        report += st::kBrokenStart + broken.label + st::kBrokenLinks + broken.link;
        if (broken.sameButCase.empty())
            report += st::kBrokenNoFile;
        else
            report += st::kBrokenCaseStart + broken.sameButCase + st::kBrokenCaseEnd;
    }
    for (const std::string& orphan : result.orphans) report += st::kOrphanStart + orphan + st::kOrphanEnd;
    report += st::kLeavingStart + std::to_string(result.leaving) + st::kLeavingEnd;
    if (result.broken.empty()) report += st::kAllFound;
    report += texts::kReportTrailer;  // ends like the check report
}

}  // namespace

LinkCheckResult CheckSiteLinks(const CAppletParameters& applet, const fs::path& top,
                               const std::vector<SitePage>& pages) {
    LinkCheckResult result;
    CaseBlindLookup lookup(top);
    std::unordered_set<std::string> linked;
    ForEachMenuItem(applet, [&](const CVoraneItem& item, const std::vector<const CVoraneItem*>&) {
        const std::string& link = item.m_link;
        if (link.find_first_not_of(" \t") == std::string::npos || IsScriptLink(link)) return;
        const std::optional<std::string> path = SitePathOfLink(link);
        if (!path) {
            // An anchor or query on the page itself goes nowhere else.
            const std::size_t first = link.find_first_not_of(" \t");
            if (link[first] != '#' && link[first] != '?') ++result.leaving;
            return;
        }
        for (const std::string& page : PagesNamedBy(*path)) linked.insert(page);
        if (NamesFile(top, *path)) return;
        std::string sameButCase = lookup.Find(*path);
        if (sameButCase == *path || !NamesFile(top, sameButCase)) sameButCase.clear();
        result.broken.push_back({item.m_label, link, std::move(sameButCase)});
    });
    for (const SitePage& page : pages)
        if (!linked.count(page.path)) result.orphans.push_back(page.path);
    AppendReport(result);
    return result;
}

}  // namespace kestrune
