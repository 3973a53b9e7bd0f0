// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CDocumentFlow;
class CKestruneApp;
class CKestruneDoc;
class CMainFrame;

// File > Publish to Site: saves the document as Save does, with the script runtime
// (skipped when its page and runtime on disk are already that), reads the site's pages on
// the thread pool, lets the user choose them, publishes them there with a progress bar and
// Cancel, and puts the report, one line per page, into the message pane. While it reads or
// writes, the document refuses edits.
class CSitePublishing : public QObject {
    Q_OBJECT
public:
    CSitePublishing(CMainFrame& frame, CDocumentFlow& flow);
    void Start();

signals:
    // The report is in the message pane (or the publish stopped before it): for tests.
    void finished(const QString& report);

private:
    void AfterSave(bool saved);
    void ReadSite(const QString& ownLine);
    void Publish(const QString& ownLine, struct SiteChoice choice);

    CMainFrame& m_frame;
    CDocumentFlow& m_flow;
};
