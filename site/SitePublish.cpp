// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/SitePublish.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "base/SafeFile.h"
#include "base/TaskProgress.h"
#include "output/FallbackMenuList.h"
#include "output/HtmlPageBuilder.h"
#include "output/SiteLinks.h"
#include "site/MenuMarkers.h"
#include "site/SiteTexts.h"

namespace kestrune {

namespace fs = std::filesystem;
namespace st = sitetexts;

std::optional<PageStamp> StampOf(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return PageStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::uint64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

std::string ReportLine(const PageReport& report) {
    std::string line = report.path + st::kLineSeparator;
    switch (report.outcome) {
        case PageReport::Outcome::Saved: return line + st::kSaved;
        case PageReport::Outcome::Updated: return line + st::kUpdated;
        case PageReport::Outcome::Unchanged: return line + st::kUnchanged;
        case PageReport::Outcome::Added: return line + st::kAdded;
        case PageReport::Outcome::WithoutMenu: return line + st::kWithoutMenu;
        case PageReport::Outcome::NotPublished: return line + st::kNotPublished;
        case PageReport::Outcome::Skipped: break;
    }
    return line + st::kSkipped + report.reason;
}

std::string StateText(const PagePreview& preview) {
    switch (preview.state) {
        case PagePreview::State::WouldChange: return st::kStateWouldChange;
        case PagePreview::State::Unchanged: return st::kStateUnchanged;
        case PagePreview::State::NoMenu: return st::kStateNoMenu;
        case PagePreview::State::Problem: break;
    }
    return st::kSkipped + preview.reason;
}

namespace {

const char* MarkerProblem(MenuMarkers::State state) {
    switch (state) {
        case MenuMarkers::State::Unbalanced: return st::kUnbalancedMarkers;
        case MenuMarkers::State::Nested: return st::kNestedMarkers;
        case MenuMarkers::State::Repeated: return st::kRepeatedMarkers;
        default: return nullptr;
    }
}

}  // namespace

SitePublisher::SitePublisher(const CAppletParameters& applet, fs::path top)
    : m_applet(applet), m_top(std::move(top)), m_links(applet) {}

SitePublisher::Reading SitePublisher::Read(const SitePage& page) const {
    Reading reading;
    if (page.kind == SitePage::Kind::Link) return {st::kIsLink, {}, {}};
    if (page.kind == SitePage::Kind::NotRegular) return {st::kNotRegular, {}, {}};
    const fs::path path = m_top / page.path;
    const std::optional<PageStamp> before = StampOf(path);
    if (!before) return {st::kUnreadable, {}, {}};
    if (before->size > kMaxSitePageBytes) return {st::kTooLarge, {}, {}};
    switch (ReadRegularFile(path, kMaxSitePageBytes, reading.content)) {
        case FileCheck::Ok: break;
        case FileCheck::TooLarge: return {st::kTooLarge, {}, {}};
        case FileCheck::NotRegular: return {IsLink(path) ? st::kIsLink : st::kNotRegular, {}, {}};
        default: return {st::kUnreadable, {}, {}};
    }
    if (StampOf(path) != before) return {st::kChangedAfterRead, {}, {}};
    reading.stamp = *before;
    return reading;
}

const std::string& SitePublisher::BlockFor(const std::string& page) {
    const std::string folder(FolderOfSitePath(page));
    const MenuLinkIndex::Marks* marks = m_links.For(page);
    if (!marks) {
        // Pages no item leads to share their folder's block.
        if (m_plainBlock.empty() || m_blockFolder != folder) {
            m_plainBlock = BuildMenuBlock(m_applet, MenuListPlace{folder});
            m_blockFolder = folder;
        }
        return m_plainBlock;
    }
    m_block = BuildMenuBlock(m_applet, MenuListPlace{folder, &marks->current, &marks->path});
    return m_block;
}

std::string SitePublisher::NewContent(const SitePage& page, const std::string& content, bool add,
                                      std::string& problem) {
    const MenuMarkers markers = FindMenuMarkers(content);
    if (const char* markerProblem = MarkerProblem(markers.state)) {
        problem = markerProblem;
        return {};
    }
    if (markers.state == MenuMarkers::State::Found)
        return WithBlockBetween(content, markers, BlockForPage(content, BlockFor(page.path)));
    if (!add) return {};
    const std::size_t bodyEnd = BodyContentStart(content);
    if (bodyEnd == std::string::npos) {
        problem = st::kNoBody;
        return {};
    }
    return WithBlockAdded(content, bodyEnd, BlockForPage(content, BlockFor(page.path)));
}

PagePreview SitePublisher::Preview(const SitePage& page) {
    PagePreview preview;
    preview.path = page.path;
    Reading reading = Read(page);
    if (reading.problem) {
        preview.reason = *reading.problem;
        return preview;
    }
    preview.stamp = reading.stamp;
    std::string problem;
    const std::string updated = NewContent(page, reading.content, false, problem);
    if (!problem.empty())
        preview.reason = problem;
    else if (updated.empty())
        preview.state = PagePreview::State::NoMenu;
    else
        preview.state = updated == reading.content ? PagePreview::State::Unchanged : PagePreview::State::WouldChange;
    return preview;
}

bool SitePublisher::LockFolderOf(const std::string& page, std::string& problem) {
    const std::string folder(FolderOfSitePath(page));
    if (m_lock.Held() && m_lockedFolder == folder) return true;
    m_lock = FolderLock();
    std::string error;
    if (!m_lock.Acquire((m_top / page).parent_path(), kSaveLockWait, &error)) {
        problem = st::kNotLocked + error;
        return false;
    }
    m_lockedFolder = folder;
    return true;
}

PageReport SitePublisher::Prepare(const SitePage& page, bool add, const PageStamp* planned, Staged& staged) {
    PageReport report;
    report.path = page.path;
    const auto skip = [&report](std::string reason) {
        report.outcome = PageReport::Outcome::Skipped;
        report.reason = std::move(reason);
        return report;
    };
    Reading reading = Read(page);
    if (reading.problem) return skip(*reading.problem);
    if (planned && reading.stamp != *planned) return skip(st::kChangedAfterRead);
    std::string problem;
    const std::string updated = NewContent(page, reading.content, add, problem);
    if (!problem.empty()) return skip(problem);
    if (updated.empty()) {
        report.outcome = PageReport::Outcome::WithoutMenu;
        return report;
    }
    if (updated == reading.content) return report;
    if (!LockFolderOf(page.path, problem)) return skip(problem);
    std::string error;
    if (!staged.file.Write(m_top / page.path, updated, &error, false)) return skip(st::kNotWritten + error);
    staged.read = reading.stamp;
    report.outcome = FindMenuMarkers(reading.content).state == MenuMarkers::State::Found
                         ? PageReport::Outcome::Updated
                         : PageReport::Outcome::Added;
    return report;
}

void SitePublisher::Stage(const SitePage& page, bool add, const PageStamp* planned, const Tell& tell) {
    if (!m_staged.empty() && FolderOfSitePath(m_staged.front().report.path) != FolderOfSitePath(page.path))
        Commit(tell);
    Staged& staged = m_staged.emplace_back();
    staged.report = Prepare(page, add, planned, staged);
}

void SitePublisher::Commit(const Tell& tell) {
    if (m_staged.empty()) return;
    const bool writes = std::any_of(m_staged.begin(), m_staged.end(),
                                    [](const Staged& staged) { return !staged.file.Temporary().empty(); });
    // One flush for the whole batch: every new page is on disk before the first rename.
    if (writes) FlushFileSystem(m_top);
    for (Staged& staged : m_staged) {
        if (staged.file.Temporary().empty()) continue;
        std::string error;
        if (StampOf(staged.file.Target()) != staged.read) {
            staged.file.Discard();
            staged.report.outcome = PageReport::Outcome::Skipped;
            staged.report.reason = st::kChangedAfterRead;
        } else if (!staged.file.Commit(&error, false)) {
            staged.report.outcome = PageReport::Outcome::Skipped;
            staged.report.reason = st::kNotWritten + error;
        }
    }
    if (writes) FlushFolder(m_top / std::string(FolderOfSitePath(m_staged.front().report.path)));
    for (const Staged& staged : m_staged) tell(staged.report);
    m_staged.clear();
}

PageReport SitePublisher::Publish(const SitePage& page, bool add, const PageStamp* planned) {
    PageReport told;
    const Tell keep = [&told](const PageReport& report) { told = report; };
    Commit(keep);
    Stage(page, add, planned, keep);
    Commit(keep);
    return told;
}

bool PublishPages(SitePublisher& publisher, const std::vector<SitePage>& pages, bool add,
                  const std::function<void(const PageReport&)>& tell, TaskProgress* progress,
                  const std::vector<PageStamp>& planned) {
    bool clean = true;
    const SitePublisher::Tell told = [&clean, &tell](const PageReport& report) {
        clean = clean && !report.IsError();
        tell(report);
    };
    if (progress) progress->SetTotal(pages.size());
    std::size_t i = 0;
    for (; i < pages.size() && !(progress && progress->Cancelled()); ++i) {
        publisher.Stage(pages[i], add, i < planned.size() ? &planned[i] : nullptr, told);
        if (publisher.StagedCount() >= kPagesPerFlush) publisher.Commit(told);
        if (progress) progress->SetDone(i + 1);
    }
    // What was staged before a Cancel is put in place whole: every page is either as it was
    // or as published, and the report says which.
    publisher.Commit(told);
    for (; i < pages.size(); ++i) tell({pages[i].path, PageReport::Outcome::NotPublished, {}});
    return clean;
}

}  // namespace kestrune
