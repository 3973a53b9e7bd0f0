// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>

class CKestruneDoc;
class CAppletPropertySheet;
class CMenuPropertySheet;
class CItemPropertySheet;
class CPropertySheet;
namespace kestrune {
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The floating tool window that shows one property sheet at a time for the node
// selected in the tree. It is created once by the tree view and then only shown and
// hidden; it sets the editing context (m_pCurItem, m_pCurMenu) whenever it shows a sheet.
class CPropertyFrame : public QWidget {
    Q_OBJECT
public:
    CPropertyFrame(CKestruneDoc& doc, QWidget* owner);
    ~CPropertyFrame() override;

    CAppletPropertySheet* AppletSheet() const { return m_appletSheet; }
    CMenuPropertySheet* MenuSheet() const { return m_menuSheet; }
    CItemPropertySheet* ItemSheet() const { return m_itemSheet; }
    CPropertySheet* CurrentSheet() const { return m_current; }
    // The frame's size with its largest sheet, known before any sheet shows.
    QSize LargestSheetSize() const;

    // Writes the page being left into the context still in force, then shows sheet for
    // item (in itemMenu, the menu holding it) and loads its active page.
    void ShowSheet(CPropertySheet* sheet, const QString& title, kestrune::CVoraneItem* item,
                   kestrune::CVorane* itemMenu);
    void ShowAppletSheet();
    // The item sheet or the menu sheet, as m_bItemSheet chooses.
    void ShowItemSheet(kestrune::CVoraneItem* item, kestrune::CVorane* itemMenu);

    // The close box: hide, then write the active page.
    void Close();
    // Writes the active page when the frame is shown; false when its checks failed.
    bool CommitActivePage();
    // Whether the user typed or clicked in the frame since its page last showed the model:
    // only then does the page hold an edit of its own.
    bool HasUserInput() const { return m_userInput; }
    // The shown page shows the model again (it changed outside the page).
    void ReloadActivePage();
    // Activates the frame and puts the focus on the first box of the shown page.
    void FocusActivePage();
    // Gives the keyboard back to the tree the frame belongs to; the frame stays shown.
    void ReturnFocusToOwner();
    // Whether the keyboard is in the frame.
    bool HasFocus() const;
    // Reloads the applet page when it is the one shown (the applet size changed).
    void RefreshAppletPage();
    // After New or Open, before the new root is shown: the shown sheet is hidden and
    // forgotten, so the values it shows never reach the new model; the frame stays as it is.
    void ForgetSheet();

signals:
    // A Menu or Item button changed m_bItemSheet: the selection is to be shown again.
    void showPropertiesRequested();
    void helpRequested(const QString& topic);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::array<CPropertySheet*, 3> Sheets() const;
    void FitTo(CPropertySheet* sheet);
    void OnViewRequested(bool itemSheet);

    CKestruneDoc& m_doc;
    CAppletPropertySheet* m_appletSheet;
    CMenuPropertySheet* m_menuSheet;
    CItemPropertySheet* m_itemSheet;
    CPropertySheet* m_current = nullptr;
    bool m_pageLive = false;  // the active page shows values not yet committed by Close
    bool m_userInput = false;
};
