// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/CommandTable.h"

#include <QAction>
#include <QIcon>
#include <algorithm>

#include "help/HelpTopics.h"
#include "preview/PreviewTexts.h"

namespace {
QList<QKeySequence> Keys(std::initializer_list<QKeySequence> keys) { return QList<QKeySequence>(keys); }

CommandEntry Entry(const char* id, const char* text, MenuGroup menu, const char* prompt = "",
                  const char* tooltip = "") {
    CommandEntry entry;
    entry.id = QString::fromLatin1(id);
    entry.text = QString::fromLatin1(text);
    entry.menu = menu;
    entry.prompt = QString::fromLatin1(prompt);
    entry.tooltip = QString::fromLatin1(tooltip);
    return entry;
}

CommandEntry& Keyed(CommandEntry& entry, QList<QKeySequence> keys) {
    entry.keys = std::move(keys);
    return entry;
}

CommandEntry& OnToolbar(CommandEntry& entry, int position, const char* icon, bool separatorAfter = false) {
    entry.toolbarPosition = position;
    entry.icon = QStringLiteral(":/icons/%1.png").arg(QString::fromLatin1(icon));
    entry.toolbarSeparatorAfter = separatorAfter;
    return entry;
}

QString MenuHelpTopic(MenuGroup group) {
    switch (group) {
        case MenuGroup::File: return QStringLiteral("cmd_file");
        case MenuGroup::Edit: return QStringLiteral("cmd_edit");
        case MenuGroup::View: return QStringLiteral("cmd_view");
        case MenuGroup::Menu: return QStringLiteral("cmd_menu");
        case MenuGroup::Build: return QStringLiteral("cmd_build");
        case MenuGroup::Options: return QStringLiteral("cmd_options");
        case MenuGroup::Help: return QStringLiteral("cmd_help");
        case MenuGroup::KeysOnly: break;
    }
    return helptopic::kKeys;
}

// Commands with a section of their own in the help document.
void SetSpecificHelpTopics(std::vector<CommandEntry>& all) {
    const std::pair<const char*, const char*> topics[] = {
        {cmd::FileNew, "newvoranedialog"},       {cmd::FileOpen, "opening"},
        {cmd::FileSave, "saving"},               {cmd::FileSaveAs, "saving"},
        {cmd::FileSaveAsTemplate, "saveastemplatedialog"},
        {cmd::FilePublish, "sitemenu"},          {cmd::BuildCheckLinks, "sitemenu"},
        {cmd::EditCut, "clipboard"},             {cmd::EditCopy, "clipboard"},            {cmd::BuildFitAppletSize, "checkparams"},
        {cmd::EditPaste, "clipboard"},           {cmd::BuildCheck, "checkparams"},
        {cmd::EditUndo, "undo"},                 {cmd::EditRedo, "undo"},
        {cmd::EditRename, "renaming"},           {cmd::EditFind, "finding"},
        {cmd::EditFindNext, "finding"},
        {cmd::BuildHtml, "buildhtml"},           {cmd::BuildPreview, "preview"},
        {cmd::ViewMenuPreview, previewtexts::kHelpTopic},
        {cmd::OptionsWebBrowser, "webbrowserdialog"},
        {cmd::OptionsTemplate, "managetemplatesdialog"},
        {cmd::OptionsAutoChange, "checkparams"}, {cmd::OptionsScriptRuntime, "scriptruntime"},
        {cmd::OptionsPageLanguage, "scriptruntime"},
        {cmd::HelpAbout, "aboutdialog"},
    };
    for (CommandEntry& entry : all)
        for (const auto& [id, topic] : topics)
            if (entry.id == QLatin1String(id)) entry.helpTopic = QString::fromLatin1(topic);
}

std::vector<CommandEntry> BuildStandardCommands() {
    using M = MenuGroup;
    std::vector<CommandEntry> all;
    all.reserve(48);
    auto add = [&all](CommandEntry entry) -> CommandEntry& { return all.emplace_back(std::move(entry)); };
    auto tree = [](CommandEntry& entry) -> CommandEntry& {
        entry.route = CommandRoute::Tree;
        return entry;
    };

    OnToolbar(Keyed(add(Entry(cmd::FileNew, "&New Vorane...", M::File, "Create a new Vorane from templates list", "New")),
                    Keys({QKeySequence(Qt::CTRL | Qt::Key_N)})),
              1, "new");
    OnToolbar(Keyed(add(Entry(cmd::FileOpen, "&Open...", M::File, "Open an previous saved Vorane", "Open")),
                    Keys({QKeySequence(Qt::CTRL | Qt::Key_O)})),
              2, "open");
    OnToolbar(Keyed(add(Entry(cmd::FileSave, "&Save", M::File, "Save an opend Vorane using the same file name", "Save")),
                    Keys({QKeySequence(Qt::CTRL | Qt::Key_S)})),
              3, "save", true);
    add(Entry(cmd::FileSaveAs, "Save &As...", M::File, "Save an opened Vorane  to a specified file name", "Save As"));
    add(Entry(cmd::FileSaveAsTemplate, "Save As &Template...", M::File, "Save an opened Vorane as a template",
              "Save As Template"));
    add(Entry(cmd::FilePublish, "&Publish to Site...", M::File,
              "Save the page and put its menu into every page of its folder and the folders below",
              "Publish to Site"))
        .separatorAfter = true;
    for (const char* mru : {cmd::FileMru1, cmd::FileMru2, cmd::FileMru3, cmd::FileMru4})
        add(Entry(mru, "Recent File", M::File, "Open this document"));
    all.back().separatorAfter = true;
    add(Entry(cmd::AppExit, "E&xit", M::File, "Quit the application; prompts to save documents", "Exit"));

    // Undo and Redo carry the name of their step ("&Undo Delete Item"), set by the enabling.
    OnToolbar(Keyed(add(Entry(cmd::EditUndo, "&Undo", M::Edit, "Undo the last action", "Undo")),
                    Keys({QKeySequence(Qt::CTRL | Qt::Key_Z)})),
              7, "undo");
    OnToolbar(Keyed(add(Entry(cmd::EditRedo, "&Redo", M::Edit, "Redo the previously undone action", "Redo")),
                    Keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})),
              8, "redo", true)
        .separatorAfter = true;
    OnToolbar(tree(Keyed(add(Entry(cmd::EditCut, "Cu&t", M::Edit, "Cut the selection and put it on the Clipboard", "Cut")),
                         Keys({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}))),
              4, "cut");
    OnToolbar(tree(Keyed(add(Entry(cmd::EditCopy, "&Copy", M::Edit, "Copy the selection and put it on the Clipboard", "Copy")),
                         Keys({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}))),
              5, "copy");
    OnToolbar(tree(Keyed(add(Entry(cmd::EditPaste, "&Paste", M::Edit, "Insert Clipboard contents", "Paste")),
                         Keys({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}))),
              6, "paste", true);

    all.back().separatorAfter = true;
    tree(Keyed(add(Entry(cmd::EditRename, "Re&name", M::Edit, "Rename the selected item or the applet in the tree",
                         "Rename")),
               Keys({QKeySequence(Qt::Key_F2)})));
    Keyed(add(Entry(cmd::EditFind, "&Find...", M::Edit, "Show only the items that contain a text", "Find")),
          Keys({QKeySequence(Qt::CTRL | Qt::Key_F)}));
    Keyed(add(Entry(cmd::EditFindNext, "Find &Next", M::Edit, "Select the next item found", "Find Next")),
          Keys({QKeySequence(Qt::Key_F3)}));

    add(Entry(cmd::ViewToolbar, "&Toolbar", M::View, "Show or hide the toolbar", "Toggle ToolBar")).checkable = true;
    add(Entry(cmd::ViewStatusBar, "&Status Bar", M::View, "Show or hide the status bar", "Toggle StatusBar"))
        .checkable = true;
    OnToolbar(Keyed(add(Entry(cmd::ViewMenuPreview, previewtexts::kCommandText, M::View, previewtexts::kCommandPrompt,
                              previewtexts::kCommandTooltip)),
                    Keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)})),
              16, "menupreview");

    OnToolbar(tree(Keyed(add(Entry(cmd::MenuInsert, "&Insert Menu/Item", M::Menu,
                                   "Insert a top-level menu or a item into Vorane", "Insert")),
                         Keys({QKeySequence(Qt::Key_Insert)}))),
              9, "insert");
    tree(Keyed(add(Entry(cmd::MenuInsertMenu, "Insert &Top-Level Menu", M::Menu,
                         "Insert a top-level menu, whatever is selected", "Insert Top-Level Menu")),
               Keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Insert)})));
    // No toolbar button: Insert's button stays the one way in for a pointer.
    tree(Keyed(add(Entry(cmd::MenuInsertAfter, "Insert &After", M::Menu,
                         "Insert an item right after the selected one, or a top-level menu after the selected menu",
                         "Insert After")),
               Keys({QKeySequence(Qt::ALT | Qt::Key_Insert)})));
    OnToolbar(tree(Keyed(add(Entry(cmd::MenuDelete, "&Delete", M::Menu, "Delete a top-level menu or a item", "Delete")),
                         Keys({QKeySequence(Qt::Key_Delete)}))),
              10, "delete");
    CommandEntry& visible = tree(add(Entry(cmd::MenuVisible, "&Visible", M::Menu)));
    visible.checkable = true;
    visible.separatorAfter = true;
    OnToolbar(tree(Keyed(add(Entry(cmd::MenuMoveUp, "Move &Up", M::Menu, "Move item's position up", "Move Item Up")),
                         Keys({QKeySequence(Qt::CTRL | Qt::Key_Up)}))),
              11, "moveup");
    OnToolbar(tree(Keyed(add(Entry(cmd::MenuMoveDown, "Move Do&wn", M::Menu, "Move item's position down",
                                   "Move Item Down")),
                         Keys({QKeySequence(Qt::CTRL | Qt::Key_Down)}))),
              12, "movedown")
        .separatorAfter = true;
    OnToolbar(tree(Keyed(add(Entry(cmd::MenuProperty, "&Property", M::Menu, "Edit the current selection's properties",
                                   "Property")),
                         Keys({QKeySequence(Qt::ALT | Qt::Key_Enter), QKeySequence(Qt::ALT | Qt::Key_Return)}))),
              13, "property", true);
    tree(add(Entry(cmd::MenuApplyStyleToSubMenus, "Apply &Style to Sub Menus", M::Menu,
                   "Give every sub menu below the selected item's menu that menu's style and item styles",
                   "Apply Style to Sub Menus")));

    add(Entry(cmd::BuildCheck, "&Check Parameters", M::Build, "Check if parameters are valid", "Check Vorane's parameters"))
        .icon = QStringLiteral(":/icons/checkparams.png");
    add(Entry(cmd::BuildCheckLinks, "Check &Links", M::Build,
              "Find item links that name no page of the site, and pages no item links to", "Check Links"));
    add(Entry(cmd::BuildFitAppletSize, previewtexts::kFitAppletSize, M::Build, previewtexts::kFitAppletSizeTip,
              "Fit Applet Size"));
    OnToolbar(add(Entry(cmd::BuildHtml, "Build &HTML...", M::Build, "Get HTML of current Vorane", "HTML")), 14,
              "buildhtml")
        .separatorAfter = true;
    OnToolbar(Keyed(add(Entry(cmd::BuildPreview, "&Preview", M::Build, "Preview current Vorane", "Preview")),
                    Keys({QKeySequence(Qt::CTRL | Qt::Key_P)})),
              15, "preview", true);
    add(Entry(cmd::BuildClearMessage, "&Clear Message", M::Build, "Clear the warning message", "Clear Message"));

    add(Entry(cmd::OptionsWebBrowser, "Web &Browser...", M::Options, "Specify the web browser to preview Vorane",
              "Web Browser"));
    Keyed(add(Entry(cmd::OptionsTemplate, "&Template...", M::Options, "Edit templates", "Template")),
          Keys({QKeySequence(Qt::CTRL | Qt::Key_T)}))
        .separatorAfter = true;
    add(Entry(cmd::OptionsAutoChange, "Auto-Change Menu Size", M::Options,
              "Auto-Change menu size when preview and build HTML", "Auto-Change Size"))
        .checkable = true;
    add(Entry(cmd::OptionsScriptRuntime, "Script &Runtime", M::Options,
              "Add the script runtime to saved pages, so that today's browsers show the menus", "Script Runtime"))
        .checkable = true;
    add(Entry(cmd::OptionsPageLanguage, "Page &Language...", M::Options,
              "Set the language that pages written with the script runtime declare", "Page Language"));

    add(Entry(cmd::HelpTopics, "&Help Topics", M::Help, "List Help topics", "Help Topics"));
    add(Entry(cmd::HelpGettingStarted, "&Getting Started", M::Help));
    add(Entry(cmd::HelpSearch, "&Search for Help on ...", M::Help));
    add(Entry(cmd::HelpViewSample, "&View Sample", M::Help)).separatorAfter = true;
    add(Entry(cmd::HelpFaq, "&Frequently Asked Questions", M::Help)).separatorAfter = true;
    add(Entry(cmd::HelpAbout, "&About Kestrune...", M::Help,
              "Display program information, version number and copyright", "About"));

    Keyed(add(Entry(cmd::HelpContext, "Help", M::KeysOnly, "Display help for current task or command", "Help")),
          Keys({QKeySequence(Qt::Key_F1)}));
    Keyed(add(Entry(cmd::HelpContextMode, "Help", M::KeysOnly,
                    "Display help for clicked on buttons, menus and windows", "Help")),
          Keys({QKeySequence(Qt::SHIFT | Qt::Key_F1)}));
    Keyed(add(Entry(cmd::NextPane, "Next Pane", M::KeysOnly)), Keys({QKeySequence(Qt::Key_F6)}));
    Keyed(add(Entry(cmd::PrevPane, "Previous Pane", M::KeysOnly)), Keys({QKeySequence(Qt::SHIFT | Qt::Key_F6)}));
    SetSpecificHelpTopics(all);
    return all;
}
}  // namespace

CCommandTable::CCommandTable(QObject* parent) : QObject(parent) {
    for (const CommandEntry& entry : StandardCommands()) Add(entry);
}

const std::vector<CommandEntry>& CCommandTable::StandardCommands() {
    static const std::vector<CommandEntry> commands = BuildStandardCommands();
    return commands;
}

QString CCommandTable::MenuTitle(MenuGroup group) {
    switch (group) {
        case MenuGroup::File: return QStringLiteral("&File");
        case MenuGroup::Edit: return QStringLiteral("&Edit");
        case MenuGroup::View: return QStringLiteral("&View");
        case MenuGroup::Menu: return QStringLiteral("&Menu");
        case MenuGroup::Build: return QStringLiteral("&Build");
        case MenuGroup::Options: return QStringLiteral("&Options");
        case MenuGroup::Help: return QStringLiteral("&Help");
        case MenuGroup::KeysOnly: break;
    }
    return {};
}

QAction* CCommandTable::Add(const CommandEntry& entry) {
    if (QAction* existing = Action(entry.id)) return existing;
    m_entries.push_back(entry);
    auto* action = new QAction(entry.text, parent());
    action->setObjectName(entry.id);
    action->setShortcuts(entry.keys);
    action->setStatusTip(entry.prompt);
    action->setToolTip(entry.tooltip.isEmpty() ? QString(entry.text).remove(QLatin1Char('&')) : entry.tooltip);
    action->setCheckable(entry.checkable);
    if (!entry.icon.isEmpty()) action->setIcon(QIcon(entry.icon));
    SetHelpTopic(action, entry.helpTopic.isEmpty() ? MenuHelpTopic(entry.menu) : entry.helpTopic);
    m_actions.insert(entry.id, action);
    return action;
}

QAction* CCommandTable::Action(const QString& id) const { return m_actions.value(id, nullptr); }

const CommandEntry* CCommandTable::Find(const QString& id) const {
    auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const CommandEntry& entry) { return entry.id == id; });
    return found == m_entries.end() ? nullptr : &*found;
}

std::vector<const CommandEntry*> CCommandTable::ToolbarCommands() const {
    std::vector<const CommandEntry*> onBar;
    for (const CommandEntry& entry : m_entries)
        if (entry.toolbarPosition > 0) onBar.push_back(&entry);
    std::stable_sort(onBar.begin(), onBar.end(),
                     [](const CommandEntry* a, const CommandEntry* b) { return a->toolbarPosition < b->toolbarPosition; });
    return onBar;
}

void CCommandTable::ApplyStates(const QHash<QString, CommandState>& states) {
    for (const CommandEntry& entry : m_entries) {
        QAction* action = Action(entry.id);
        if (auto found = states.find(entry.id); found != states.end()) {
            action->setEnabled(found->enabled);
            action->setVisible(found->visible);
            if (!found->text.isEmpty()) action->setText(found->text);
            if (action->isCheckable()) action->setChecked(found->checked);
        }
    }
}
