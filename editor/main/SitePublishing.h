// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CDocumentFlow;
class CKestruneDoc;
class QWidget;

// File > Publish to Site: saves the document as Save does, with the script runtime
// (skipped when its page and runtime on disk are already that), reads the site's pages on
// the thread pool, lets the user choose them, publishes them there with a progress bar and
// Cancel, and puts the report, one line per page, into the message pane. While it reads or
// writes, the document refuses edits.
class CSitePublishing : public QObject {
    Q_OBJECT
public:
    // commitPage writes what the shown property page holds (false: it refused its values);
    // showReport puts the report into the message pane.
    CSitePublishing(CKestruneDoc& doc, CDocumentFlow& flow, QWidget* dialogParent, std::function<bool()> commitPage,
                    std::function<void(const QString&)> showReport);
    void Start();

signals:
    // The report is in the message pane (or the publish stopped before it): for tests.
    void finished(const QString& report);

private:
    void AfterSave(bool saved);
    void ReadSite(const QString& ownLine);
    void Publish(const QString& ownLine, struct SiteChoice choice);

    CKestruneDoc& m_doc;
    CDocumentFlow& m_flow;
    QWidget* m_dialogParent;
    std::function<bool()> m_commitPage;
    std::function<void(const QString&)> m_showReport;
};
