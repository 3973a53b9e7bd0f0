// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/SitePublishing.h"

#include <QFileInfo>
#include <memory>
#include <utility>
#include <vector>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/TextConvert.h"
#include "base/TaskProgress.h"
#include "main/DlgPublishSite.h"
#include "main/DocumentFlow.h"
#include "main/PublishTexts.h"
#include "site/SiteDocument.h"
#include "site/SitePages.h"
#include "site/SitePublish.h"

using namespace kestrune;
namespace pt = publishtexts;

// What the user chose in the dialog.
struct SiteChoice {
    std::vector<SitePage> pages;
    std::vector<PageStamp> planned;
    bool add = false;
};

namespace {

// The site as the worker reads it.
struct SiteReading {
    std::vector<SitePage> pages;
    std::vector<PagePreview> previews;
};

std::filesystem::path SiteTop(const CKestruneDoc& doc) {
    return convert::PathFromQt(QFileInfo(doc.PathName()).absolutePath());
}

std::string OwnPageName(const CKestruneDoc& doc) { return convert::PathFromQt(QFileInfo(doc.PathName()).fileName()); }

}  // namespace

CSitePublishing::CSitePublishing(CKestruneDoc& doc, CDocumentFlow& flow, QWidget* dialogParent,
                                 std::function<bool()> commitPage, std::function<void(const QString&)> showReport)
    : m_doc(doc),
      m_flow(flow),
      m_dialogParent(dialogParent),
      m_commitPage(std::move(commitPage)),
      m_showReport(std::move(showReport)) {}

void CSitePublishing::Start() {
    if (m_flow.IsWorking() || !m_commitPage()) return;
    CKestruneDoc& doc = m_doc;
    if (!doc.PathName().isEmpty() && !doc.IsModified() &&
        SavedPageCurrent(doc.Applet(), convert::PathFromQt(doc.PathName()), doc.App().AppDir(), doc.m_pageLanguage))
        return ReadSite(QString::fromStdString(ReportLine({OwnPageName(doc), PageReport::Outcome::Unchanged, {}})));
    m_flow.Save(false, [this](bool saved) { AfterSave(saved); }, true);
}

void CSitePublishing::AfterSave(bool saved) {
    if (!saved) return;
    ReadSite(QString::fromStdString(ReportLine({OwnPageName(m_doc), PageReport::Outcome::Saved, {}})));
}

void CSitePublishing::ReadSite(const QString& ownLine) {
    CKestruneDoc& doc = m_doc;
    const CAppletParameters& applet = doc.Applet();
    const std::filesystem::path top = SiteTop(doc);
    const std::string own = OwnPageName(doc);
    auto reading = std::make_shared<SiteReading>();
    doc.HoldEdits(true);
    const bool started = m_flow.Work().Start(
        pt::kReading.arg(QFileInfo(doc.PathName()).absolutePath()),
        [reading, &applet, top, own](TaskProgress& progress) {
            reading->pages = ScanSite(top, own);
            progress.SetTotal(reading->pages.size());
            SitePublisher publisher(applet, top);
            for (const SitePage& page : reading->pages) {
                if (progress.Cancelled()) return;
                reading->previews.push_back(publisher.Preview(page));
                progress.SetDone(reading->previews.size());
            }
        },
        [this, reading, ownLine, top] {
            m_doc.HoldEdits(false);
            if (m_flow.Work().LastCancelled()) return;
            const QString site = convert::PathToQt(top.string());
            if (reading->pages.empty()) {
                m_doc.App().Dialogs().ShowMessage(m_dialogParent, pt::kNoPages.arg(site), IDialogService::Buttons::Ok,
                                                    IDialogService::Icon::Information);
                return;
            }
            CDlgPublishSite dialog(site, reading->previews, m_dialogParent);
            if (m_doc.App().Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return;
            SiteChoice choice;
            choice.add = dialog.AddToPagesWithoutMarkers();
            for (const std::size_t page : dialog.CheckedPages()) {
                choice.pages.push_back(reading->pages[page]);
                choice.planned.push_back(reading->previews[page].stamp);
            }
            Publish(ownLine, std::move(choice));
        });
    if (!started) doc.HoldEdits(false);
}

void CSitePublishing::Publish(const QString& ownLine, SiteChoice choice) {
    CKestruneDoc& doc = m_doc;
    const CAppletParameters& applet = doc.Applet();
    const std::filesystem::path top = SiteTop(doc);
    auto chosen = std::make_shared<SiteChoice>(std::move(choice));
    auto lines = std::make_shared<std::string>();
    doc.HoldEdits(true);
    const bool started = m_flow.Work().Start(
        pt::kPublishing.arg(chosen->pages.size()),
        [chosen, lines, &applet, top](TaskProgress& progress) {
            SitePublisher publisher(applet, top);
            PublishPages(
                publisher, chosen->pages, chosen->add,
                [&lines](const PageReport& report) {
                    *lines += '\n';
                    *lines += ReportLine(report);
                },
                &progress, chosen->planned);
        },
        [this, ownLine, lines] {
            m_doc.HoldEdits(false);
            const QString report = ownLine + convert::PathToQt(*lines);
            m_showReport(report);
            emit finished(report);
        });
    if (!started) doc.HoldEdits(false);
}
