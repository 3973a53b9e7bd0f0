// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>
#include <QWidget>
#include <vector>

class CPropertyPage;
class QStackedWidget;
class QTabBar;

// The Menu and Item buttons of the button strip: they show which view is on and are
// switched by the sheet, not by their own clicks.
class CSheetButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // The caption's font: the user's, bold, made smaller only as far as the caption needs
    // to stand inside the button's round picture.
    QFont CaptionFont() const;

protected:
    void nextCheckState() override {}
    // The picture fills the button inside its border, where a styled button would shrink it.
    void paintEvent(QPaintEvent* event) override;
};

// Tabbed pages, one of them active. Leaving a page writes it into the model; a page that
// fails its checks keeps the user on it. Menu and item sheets carry a strip with the
// Menu and Item buttons that switch between the two views of the same item.
class CPropertySheet : public QWidget {
    Q_OBJECT
public:
    enum class Strip { None, Menu, Item };

    CPropertySheet(int helpContext, Strip strip, QWidget* parent = nullptr);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* Page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    CPropertyPage* ActivePage() const;
    int ActiveIndex() const { return m_active; }
    // A tab change: the active page is written first and a failure keeps it active.
    bool SetActivePage(int index);

    QTabBar* TabBar() const { return m_tabs; }
    CSheetButton* MenuButton() const { return m_menuButton; }
    CSheetButton* ItemButton() const { return m_itemButton; }

    // The size the page area needs, and a common size imposed so all sheets' pages match.
    QSize PageAreaHint() const;
    void SetPageAreaSize(const QSize& size);

signals:
    // The strip's other button was clicked: show the item (true) or the menu (false) view.
    void viewRequested(bool itemSheet);
    void helpRequested(const QString& topic);
    // A tab change showed the model in the newly active page.
    void activePageLoaded();

protected:
    void AddPage(CPropertyPage* page);
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildButtonStrip(Strip strip, class QHBoxLayout* columns);
    void OnTabChanged(int index);

    std::vector<CPropertyPage*> m_pages;  // owned through the stack
    int m_active = -1;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_stack = nullptr;
    Strip m_strip;
    CSheetButton* m_menuButton = nullptr;
    CSheetButton* m_itemButton = nullptr;
    bool m_focusedOwnButton = false;
};
