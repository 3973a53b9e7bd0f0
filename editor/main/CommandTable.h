// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <deque>
#include <vector>

class QAction;

// Command names: the one key by which menus, the toolbar, enabling and routing know a command.
namespace cmd {
inline constexpr const char* FileNew = "FileNew";
inline constexpr const char* FileOpen = "FileOpen";
inline constexpr const char* FileSave = "FileSave";
inline constexpr const char* FileSaveAs = "FileSaveAs";
inline constexpr const char* FileSaveAsTemplate = "FileSaveAsTemplate";
inline constexpr const char* FilePublish = "FilePublish";
inline constexpr const char* FileMru1 = "FileMru1";
inline constexpr const char* FileMru2 = "FileMru2";
inline constexpr const char* FileMru3 = "FileMru3";
inline constexpr const char* FileMru4 = "FileMru4";
inline constexpr const char* AppExit = "AppExit";
inline constexpr const char* EditUndo = "EditUndo";
inline constexpr const char* EditRedo = "EditRedo";
inline constexpr const char* EditFind = "EditFind";
inline constexpr const char* EditFindNext = "EditFindNext";
inline constexpr const char* EditRename = "EditRename";
inline constexpr const char* EditCut = "EditCut";
inline constexpr const char* EditCopy = "EditCopy";
inline constexpr const char* EditPaste = "EditPaste";
inline constexpr const char* ViewToolbar = "ViewToolbar";
inline constexpr const char* ViewStatusBar = "ViewStatusBar";
inline constexpr const char* ViewMenuPreview = "ViewMenuPreview";
inline constexpr const char* MenuInsert = "MenuInsert";
inline constexpr const char* MenuInsertMenu = "MenuInsertMenu";
inline constexpr const char* MenuInsertAfter = "MenuInsertAfter";
inline constexpr const char* MenuDelete = "MenuDelete";
inline constexpr const char* MenuVisible = "MenuVisible";
inline constexpr const char* MenuMoveUp = "MenuMoveUp";
inline constexpr const char* MenuMoveDown = "MenuMoveDown";
inline constexpr const char* MenuProperty = "MenuProperty";
inline constexpr const char* MenuApplyStyleToSubMenus = "MenuApplyStyleToSubMenus";
inline constexpr const char* BuildCheck = "BuildCheck";
inline constexpr const char* BuildCheckLinks = "BuildCheckLinks";
inline constexpr const char* BuildHtml = "BuildHtml";
inline constexpr const char* BuildPreview = "BuildPreview";
inline constexpr const char* BuildClearMessage = "BuildClearMessage";
inline constexpr const char* BuildFitAppletSize = "BuildFitAppletSize";
inline constexpr const char* OptionsWebBrowser = "OptionsWebBrowser";
inline constexpr const char* OptionsTemplate = "OptionsTemplate";
inline constexpr const char* OptionsAutoChange = "OptionsAutoChange";
inline constexpr const char* OptionsScriptRuntime = "OptionsScriptRuntime";
inline constexpr const char* OptionsPageLanguage = "OptionsPageLanguage";
inline constexpr const char* HelpTopics = "HelpTopics";
inline constexpr const char* HelpGettingStarted = "HelpGettingStarted";
inline constexpr const char* HelpSearch = "HelpSearch";
inline constexpr const char* HelpViewSample = "HelpViewSample";
inline constexpr const char* HelpFaq = "HelpFaq";
inline constexpr const char* HelpAbout = "HelpAbout";
inline constexpr const char* HelpContext = "HelpContext";
inline constexpr const char* HelpContextMode = "HelpContextMode";
inline constexpr const char* NextPane = "NextPane";
inline constexpr const char* PrevPane = "PrevPane";
}  // namespace cmd

// The pop-up menus of the menu bar, in menu-bar order; KeysOnly commands have no entry.
enum class MenuGroup { File, Edit, View, Menu, Build, Options, Help, KeysOnly };

// Who carries a command out. Tree commands are handled by the tree pane only, so they are
// disabled while the message pane is the active pane.
enum class CommandRoute { Frame, Tree };

// How one command shows at a moment: what the enabling computes and the table applies.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool visible = true;
    QString text;  // empty: the entry keeps its text
};

struct CommandEntry {
    QString id;
    QString text;
    QList<QKeySequence> keys;
    QString prompt;   // status-bar prompt
    QString tooltip;  // tooltip over the toolbar button
    QString icon;     // resource path of the toolbar picture; empty: none
    MenuGroup menu = MenuGroup::KeysOnly;
    bool separatorAfter = false;         // in its pop-up menu
    int toolbarPosition = 0;             // 1-based place on the toolbar; 0: not on it
    bool toolbarSeparatorAfter = false;
    bool checkable = false;
    CommandRoute route = CommandRoute::Frame;
    QString helpTopic;  // empty: the help section of its menu
};

// Every command of the program in one table, in menu order. One QAction per command, owned
// by the table's parent.
class CCommandTable : public QObject {
    Q_OBJECT
public:
    explicit CCommandTable(QObject* parent);

    static const std::vector<CommandEntry>& StandardCommands();
    static QString MenuTitle(MenuGroup group);

    // Adds a command (its action is created with text, keys, prompts and icon).
    QAction* Add(const CommandEntry& entry);
    QAction* Action(const QString& id) const;
    const CommandEntry* Find(const QString& id) const;
    const std::deque<CommandEntry>& Entries() const { return m_entries; }
    // Commands on the toolbar, in button order.
    std::vector<const CommandEntry*> ToolbarCommands() const;
    // Enabling, visibility, texts and check marks of the commands states names.
    void ApplyStates(const QHash<QString, CommandState>& states);

private:
    std::deque<CommandEntry> m_entries;  // stable addresses for Find()
    QHash<QString, QAction*> m_actions;
};
