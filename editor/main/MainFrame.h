// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "main/CommandEnabling.h"
#include "main/CommandTable.h"
#include "main/RecentFileList.h"

class CHelpCommands;
class CSitePublishing;
class CPaneFocus;
class CDocumentFlow;
class CFlatToolBar;
class CHelpWindow;
class CKestruneApp;
class CKestruneDoc;
class CKestruneView;
class CTreeFindBar;
class CWizardInfoView;
class IDialogService;
class QLabel;
class QSplitter;
namespace kestrune {
class CTemplateStore;
struct AppletSize;
}

// The main window: menu bar, flat toolbar, status bar, and the splitter with the menu tree
// above the message pane. Commands go to the active pane first (the tree carries out the
// structural ones), then to this window.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CKestruneDoc& doc, kestrune::CTemplateStore& templates, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKestruneDoc& Doc() const { return m_doc; }
    CKestruneApp& App() const;
    IDialogService& Dialogs() const;
    kestrune::CTemplateStore& Templates() const { return m_templates; }
    CCommandTable& Commands() const { return *m_commands; }
    QAction* Action(const QString& id) const { return m_commands->Action(id); }
    CKestruneView* TreeView() const { return m_pTreeView; }
    CWizardInfoView* InfoView() const { return m_pInfoView; }
    CFlatToolBar* ToolBar() const { return m_wndToolBar; }
    CTreeFindBar* FindBar() const { return m_pFindBar; }
    QMenu* PopupMenu(MenuGroup group) const { return m_menus.value(group, nullptr); }
    CDocumentFlow& Flow() const { return *m_flow; }
    CSitePublishing& Publishing() const { return *m_publishing; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    CHelpWindow& HelpWindow();

    // Sets enabling and check marks of every command from the panes' state.
    void UpdateCommandStates();
    CommandContext CurrentCommandContext() const;
    bool IsTreePaneActive() const;
    QWidget* ActivePane() const;
    void ActivatePane(QWidget* pane);
    // The tree takes the keyboard (after New and Open, and when the window is activated).
    void FocusTree();

    // Start-up: the saved placement ("WindowPos"), else the normal state.
    void ShowWithSavedPlacement();
    // Close steps 1 and 2: placement, tree pane size and the Auto-Change option.
    void WriteWindowSettings();

    // The check of the model into the message pane, after committing the active page.
    // Build HTML and Preview run it first.
    // False, with nothing checked, when the shown page refused its values.
    bool CheckParametersIntoPane();
    void SetMessageText(const QString& text);
    void ShowHelpTopic(const QString& topic);
    void ShowHelpFor(const QWidget* widget);

    // Commands carried out by the window.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileSaveAsTemplate();
    void OnOpenRecentFile(int index);
    // Undo (or, forward, Redo) after writing what the shown page still holds.
    void StepHistory(bool forward);
    void ToggleBar(QWidget* bar);
    void OnCheckParameters();
    void OnCheckLinks();
    void OnBuildHtml();
    void OnPreview();
    void OnClearMessage();
    void OnFitAppletSize();
    // Auto-Change Menu Size: the recommendation, within what the applet page accepts.
    void ApplyAutoChangeSize(kestrune::AppletSize recommended);
    void OnOptionsTemplate();
    void OnAutoChangeSize();
    void OnScriptRuntime();
    void OnPageLanguage();
    void OnAbout();

signals:
    // The window closed for good (Exit, or its close box with the save question answered):
    // the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // F1 and Shift+F1 inside modal dialogs, where the window's own keys are blocked.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void BuildMenus();
    void BuildContextMenu();
    void ConnectCommands();
    void Route(const char* id, std::function<void()> handler);
    void RouteToTree(const char* id, void (CKestruneView::*command)());
    void RefreshRecentFileMenu();
    void UpdateCaption();
    void ApplyTreePaneSize();

    CKestruneDoc& m_doc;
    kestrune::CTemplateStore& m_templates;
    CCommandTable* m_commands = nullptr;
    CFlatToolBar* m_wndToolBar = nullptr;
    QSplitter* m_wndSplitter = nullptr;
    CKestruneView* m_pTreeView = nullptr;
    CWizardInfoView* m_pInfoView = nullptr;
    CTreeFindBar* m_pFindBar = nullptr;
    CPaneFocus* m_panes = nullptr;  // a child of the window
    QMap<MenuGroup, QMenu*> m_menus;
    QMenu* m_pTreePopup = nullptr;
    QLabel* m_pReadyLabel = nullptr;
    CRecentFileList m_recentFiles;
    std::unique_ptr<CDocumentFlow> m_flow;
    std::unique_ptr<CSitePublishing> m_publishing;
    CHelpCommands* m_help = nullptr;  // a child of the window
    int m_treeHeight = 0;
    int m_treeWidth = 0;
    bool m_treeSizeApplied = false;
};
