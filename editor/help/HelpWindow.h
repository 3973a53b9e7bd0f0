// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "help/HelpDocument.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

// The in-program help window: the help document with its contents, keyword index and
// word search beside it. One window, reused by every help request.
class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QString helpFilePath, QWidget* parent = nullptr);

    void ShowContents();
    // A topic by anchor (context numbers are anchors too); an unknown one shows the contents.
    void ShowTopic(const QString& anchor);
    // The keyword index, filtered by the keyword (empty: the whole list).
    void ShowIndex(const QString& keyword = {});

    QString CurrentTopic() const { return m_currentTopic; }
    const CHelpDocument& Document() const { return m_document; }
    QTabWidget* Tabs() const { return m_tabs; }
    QListWidget* IndexList() const { return m_indexList; }
    QListWidget* SearchResults() const { return m_searchResults; }
    QLineEdit* SearchBox() const { return m_searchBox; }
    QTextBrowser* Browser() const { return m_browser; }

public slots:
    void RunSearch();

private:
    void EnsureLoaded();
    void FillContents();
    void FillIndex(const QString& filter);
    void Present();

    QString m_path;
    bool m_loaded = false;
    bool m_placed = false;  // placed once; later where the user left it
    CHelpDocument m_document;
    QString m_currentTopic;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contentsTree = nullptr;
    QLineEdit* m_indexFilter = nullptr;
    QListWidget* m_indexList = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QListWidget* m_searchResults = nullptr;
    QTextBrowser* m_browser = nullptr;
};
