// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/FolderLock.h"
#include "base/SafeFile.h"
#include "site/MenuLinks.h"
#include "site/SitePages.h"

namespace kestrune {

class CAppletParameters;
class TaskProgress;

// The largest page a publish reads.
inline constexpr std::size_t kMaxSitePageBytes = std::size_t{64} << 20;

// What tells a page's content apart from an earlier one without reading it again.
struct PageStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const PageStamp&) const = default;
};
std::optional<PageStamp> StampOf(const std::filesystem::path& path);

// What a publish did with one page.
struct PageReport {
    enum class Outcome { Saved, Updated, Unchanged, Added, WithoutMenu, Skipped, NotPublished };
    std::string path;  // below the site's top
    Outcome outcome = Outcome::Unchanged;
    std::string reason;  // why it was skipped
    // A skipped page is one the user should look at; the rest went as asked.
    bool IsError() const { return outcome == Outcome::Skipped; }
};
// "teams/u10.html: updated", without a line end.
std::string ReportLine(const PageReport& report);

// What a publish would do with a page, as the dialog lists it before it starts.
struct PagePreview {
    enum class State { WouldChange, Unchanged, NoMenu, Problem };
    std::string path;
    State state = State::Problem;
    std::string reason;  // the problem, when there is one
    PageStamp stamp;     // as it was read
};
std::string StateText(const PagePreview& preview);

// Puts one document's menu into the pages of its site. Each page is read whole and its
// block built for its folder; a page that changes is written to a temporary file beside
// it. The temporary files of a batch of pages of one folder go to disk at once, then each
// is renamed over its page, only when the page is still the one that was read; the folder's
// lock is held from the first write to the last rename.
class SitePublisher {
public:
    // The site's top is the document's folder.
    SitePublisher(const CAppletParameters& applet, std::filesystem::path top);
    PagePreview Preview(const SitePage& page);
    using Tell = std::function<void(const PageReport&)>;
    // Reads and prepares one page. add puts the menu after the <body> tag of a page without
    // markers. planned, when given, is the page as it was when the user chose it: a page
    // changed since is skipped. A page in another folder than those staged before commits
    // them first (telling their reports).
    void Stage(const SitePage& page, bool add, const PageStamp* planned, const Tell& tell);
    // Puts the staged pages in place and tells every staged page's report, in order.
    void Commit(const Tell& tell);
    std::size_t StagedCount() const { return m_staged.size(); }
    // One page, staged and committed.
    PageReport Publish(const SitePage& page, bool add, const PageStamp* planned = nullptr);

private:
    struct Reading {
        std::optional<std::string> problem;
        std::string content;
        PageStamp stamp;
    };
    struct Staged {
        PageReport report;
        PendingFile file;  // holds the new content when the page changes
        PageStamp read;
    };
    Reading Read(const SitePage& page) const;
    // The page's new content; empty when it gets no menu (no markers and not added).
    std::string NewContent(const SitePage& page, const std::string& content, bool add, std::string& problem);
    const std::string& BlockFor(const std::string& page);
    bool LockFolderOf(const std::string& page, std::string& problem);
    PageReport Prepare(const SitePage& page, bool add, const PageStamp* planned, Staged& staged);

    const CAppletParameters& m_applet;
    std::filesystem::path m_top;
    MenuLinkIndex m_links;
    std::string m_blockFolder;  // the folder the plain block (no current item) was built for
    std::string m_plainBlock;
    std::string m_block;
    FolderLock m_lock;
    std::string m_lockedFolder;
    std::vector<Staged> m_staged;
};

// How many pages a publish writes to disk at once.
inline constexpr std::size_t kPagesPerFlush = 256;

// Publishes the pages in order, calling tell with each page's report as it is done. A
// Cancel on progress stops before the next page; the pages not reached are told as not
// published. planned, when not empty, holds each page's stamp from its preview. Returns
// whether every page went without error.
bool PublishPages(SitePublisher& publisher, const std::vector<SitePage>& pages, bool add,
                  const std::function<void(const PageReport&)>& tell, TaskProgress* progress = nullptr,
                  const std::vector<PageStamp>& planned = {});

}  // namespace kestrune
