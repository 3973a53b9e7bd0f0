// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "site/SitePublish.h"

class QCheckBox;
class QTableView;
class CPublishPageList;

// Publish to Site's choice: every page of the site with its state (has the menu and would
// change or is unchanged, has none, or cannot be published and why) and a check box;
// pages without markers are published only with "Add the menu" checked.
class CDlgPublishSite : public QDialog {
    Q_OBJECT
public:
    CDlgPublishSite(const QString& site, std::vector<kestrune::PagePreview> pages, QWidget* parent = nullptr);
    ~CDlgPublishSite() override;

    // The checked pages' positions in the list given, in order.
    std::vector<std::size_t> CheckedPages() const;
    bool AddToPagesWithoutMarkers() const;
    // Checks or clears a page, as a click on its box does.
    void SetChecked(std::size_t page, bool checked);

private:
    std::unique_ptr<CPublishPageList> m_list;
    QTableView* m_view = nullptr;
    QCheckBox* m_add = nullptr;
};
