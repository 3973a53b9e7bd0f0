// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/DlgPublishSite.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/TextConvert.h"
#include "main/PublishTexts.h"

using namespace kestrune;
namespace pt = publishtexts;

// The pages as two columns, the first with a check box. A table model rather than items:
// a site of ten thousand pages lists at once.
class CPublishPageList : public QAbstractTableModel {
public:
    explicit CPublishPageList(std::vector<PagePreview> pages) : m_pages(std::move(pages)), m_checked(m_pages.size()) {
        for (std::size_t i = 0; i < m_pages.size(); ++i) m_checked[i] = Publishable(i);
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_pages.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override {
        const PagePreview& page = m_pages[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole)
            return index.column() == 0 ? convert::PathToQt(page.path) : QString::fromStdString(StateText(page));
        if (role == Qt::CheckStateRole && index.column() == 0)
            return m_checked[static_cast<std::size_t>(index.row())] ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return section == 0 ? pt::kPageColumn : pt::kStateColumn;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!Publishable(static_cast<std::size_t>(index.row()))) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (index.column() == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::CheckStateRole || !Publishable(static_cast<std::size_t>(index.row()))) return false;
        m_checked[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    bool Checked(std::size_t page) const { return m_checked[page]; }
    std::size_t Count() const { return m_pages.size(); }

private:
    bool Publishable(std::size_t page) const { return m_pages[page].state != PagePreview::State::Problem; }

    std::vector<PagePreview> m_pages;
    std::vector<bool> m_checked;
};

CDlgPublishSite::CDlgPublishSite(const QString& site, std::vector<PagePreview> pages, QWidget* parent)
    : QDialog(parent), m_list(std::make_unique<CPublishPageList>(std::move(pages))) {
    setWindowTitle(pt::kDialogTitle);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(pt::kDialogIntro.arg(site), this);
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);
    layout->addWidget(intro);
    m_view = new QTableView(this);
    m_view->setModel(m_list.get());
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setColumnWidth(0, 260);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_view);
    m_add = new QCheckBox(pt::kAddMenu, this);
    layout->addWidget(m_add);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(pt::kPublishButton, QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 420);
}

CDlgPublishSite::~CDlgPublishSite() = default;

std::vector<std::size_t> CDlgPublishSite::CheckedPages() const {
    std::vector<std::size_t> checked;
    for (std::size_t i = 0; i < m_list->Count(); ++i)
        if (m_list->Checked(i)) checked.push_back(i);
    return checked;
}

bool CDlgPublishSite::AddToPagesWithoutMarkers() const { return m_add->isChecked(); }

void CDlgPublishSite::SetChecked(std::size_t page, bool checked) {
    m_list->setData(m_list->index(static_cast<int>(page), 0), checked ? Qt::Checked : Qt::Unchecked,
                    Qt::CheckStateRole);
}
