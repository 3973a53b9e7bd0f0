// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ShellTexts.h"
#include "help/HelpTopics.h"
#include "app/ScreenFit.h"

namespace {
constexpr int kAnchorRole = Qt::UserRole;

QWidget* Column(QWidget* parent, std::initializer_list<QWidget*> widgets) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    for (QWidget* widget : widgets) layout->addWidget(widget);
    return page;
}
}  // namespace

CHelpWindow::CHelpWindow(QString helpFilePath, QWidget* parent)
    : QWidget(parent, Qt::Window), m_path(std::move(helpFilePath)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(shelltexts::kHelpWindowTitle);
    resize(860, 600);

    m_contentsTree = new QTreeWidget;
    m_contentsTree->setHeaderHidden(true);
    m_indexFilter = new QLineEdit;
    m_indexFilter->setPlaceholderText(QStringLiteral("Type a keyword"));
    m_indexList = new QListWidget;
    m_searchBox = new QLineEdit;
    m_searchBox->setPlaceholderText(QStringLiteral("Words to find"));
    auto* searchButton = new QPushButton(QStringLiteral("&List Topics"));
    m_searchResults = new QListWidget;

    m_tabs = new QTabWidget;
    m_tabs->addTab(Column(m_tabs, {m_contentsTree}), QStringLiteral("Contents"));
    m_tabs->addTab(Column(m_tabs, {m_indexFilter, m_indexList}), QStringLiteral("Index"));
    m_tabs->addTab(Column(m_tabs, {m_searchBox, searchButton, m_searchResults}), QStringLiteral("Search"));

    m_browser = new QTextBrowser;
    m_browser->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 580});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    // Escape closes the window as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    auto openAnchor = [this](const QString& anchor) {
        if (!anchor.isEmpty()) ShowTopic(anchor);
    };
    connect(m_contentsTree, &QTreeWidget::itemActivated, this,
            [openAnchor](QTreeWidgetItem* item) { openAnchor(item->data(0, kAnchorRole).toString()); });
    connect(m_contentsTree, &QTreeWidget::itemClicked, this,
            [openAnchor](QTreeWidgetItem* item) { openAnchor(item->data(0, kAnchorRole).toString()); });
    auto openListItem = [openAnchor](QListWidgetItem* item) { openAnchor(item->data(kAnchorRole).toString()); };
    connect(m_indexList, &QListWidget::itemActivated, this, openListItem);
    connect(m_indexList, &QListWidget::itemClicked, this, openListItem);
    connect(m_searchResults, &QListWidget::itemActivated, this, openListItem);
    connect(m_searchResults, &QListWidget::itemClicked, this, openListItem);
    connect(m_indexFilter, &QLineEdit::textChanged, this, &CHelpWindow::FillIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, [this, openListItem] {
        if (m_indexList->count() > 0) openListItem(m_indexList->item(0));
    });
    connect(m_searchBox, &QLineEdit::returnPressed, this, &CHelpWindow::RunSearch);
    connect(searchButton, &QPushButton::clicked, this, &CHelpWindow::RunSearch);
}

void CHelpWindow::EnsureLoaded() {
    if (m_loaded) return;
    m_loaded = true;
    if (m_document.Load(m_path)) {
        m_browser->setSearchPaths({QFileInfo(m_path).absolutePath()});
        m_browser->setHtml(m_document.Html());
    } else {
        m_browser->setPlainText(QStringLiteral("The help file \"%1\" was not found.").arg(m_path));
    }
    FillContents();
    FillIndex(QString());
}

void CHelpWindow::FillContents() {
    m_contentsTree->clear();
    QTreeWidgetItem* group = nullptr;
    for (const CHelpDocument::Link& link : m_document.Contents()) {
        auto* item = new QTreeWidgetItem({link.text});
        if (link.anchor.isEmpty()) {
            m_contentsTree->addTopLevelItem(item);
            group = item;
            continue;
        }
        item->setData(0, kAnchorRole, link.anchor);
        if (group)
            group->addChild(item);
        else
            m_contentsTree->addTopLevelItem(item);
    }
    m_contentsTree->expandAll();
}

void CHelpWindow::FillIndex(const QString& filter) {
    m_indexList->clear();
    for (const CHelpDocument::Link& link : m_document.Index()) {
        if (!filter.isEmpty() && !link.text.startsWith(filter, Qt::CaseInsensitive)) continue;
        auto* item = new QListWidgetItem(link.text, m_indexList);
        item->setData(kAnchorRole, link.anchor);
    }
}

void CHelpWindow::Present() {
    // Always modeless: it must never block the dialog that asked for it. The program's
    // dialogs block only the windows they belong to, and this window belongs to none.
    if (!isVisible() && !m_placed)
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            m_placed = true;
            const QRect available = screen->availableGeometry();
            QRect centred(QPoint(), size().boundedTo(available.size()));
            centred.moveCenter(available.center());
            PlaceFrame(*this, centred, QApplication::activeWindow());
        }
    show();
    KeepFrameOnScreen(*this);
    raise();
    activateWindow();
}

void CHelpWindow::ShowContents() {
    EnsureLoaded();
    m_tabs->setCurrentIndex(0);
    ShowTopic(helptopic::kContents);
}

void CHelpWindow::ShowTopic(const QString& anchor) {
    EnsureLoaded();
    m_currentTopic = m_document.HasTopic(anchor) ? anchor : helptopic::kContents;
    m_browser->scrollToAnchor(m_currentTopic);
    Present();
}

void CHelpWindow::ShowIndex(const QString& keyword) {
    EnsureLoaded();
    m_tabs->setCurrentIndex(1);
    m_indexFilter->setText(keyword);
    FillIndex(keyword);
    m_indexFilter->setFocus();
    if (m_currentTopic.isEmpty()) m_currentTopic = helptopic::kIndex;
    m_browser->scrollToAnchor(m_currentTopic);
    Present();
}

void CHelpWindow::RunSearch() {
    EnsureLoaded();
    m_searchResults->clear();
    for (const CHelpDocument::Link& link : m_document.Search(m_searchBox->text())) {
        auto* item = new QListWidgetItem(link.text, m_searchResults);
        item->setData(kAnchorRole, link.anchor);
    }
}
