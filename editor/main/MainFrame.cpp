// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/MainFrame.h"

#include <QAction>
#include <QFileInfo>
#include <QApplication>
#include <QPointer>
#include <utility>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QUndoStack>

#include "browser/BrowserCommands.h"
#include "app/PageLanguageSetting.h"
#include "app/AppletSizeEdit.h"
#include "app/DialogService.h"
#include "app/OversizedImages.h"
#include "app/KestruneApp.h"
#include "app/ProgramLauncher.h"
#include "app/KestruneDoc.h"
#include "app/TextConvert.h"
#include "app/ShellTexts.h"
#include "help/ContextHelpMode.h"
#include "help/HelpTopics.h"
#include "help/HelpWindow.h"
#include "main/HelpCommands.h"
#include "main/PaneFocus.h"
#include "main/AboutDlg.h"
#include "main/DlgHtml.h"
#include "main/DocumentFlow.h"
#include "main/SitePublishing.h"
#include "app/ScreenFit.h"
#include "main/WindowPlacement.h"
#include "main/WizardInfoView.h"
#include "model/AppletParameters.h"
#include "services/ParameterCheck.h"
#include "base/SettingsStore.h"
#include "output/HtmlPageBuilder.h"
#include "properties/IconResources.h"
#include "properties/PropertyTexts.h"
#include "services/TemplateStore.h"
#include "site/LinkCheck.h"
#include "site/SitePages.h"
#include "templates/DlgManageTemplates.h"
#include "templates/DlgSaveAsTemplate.h"
#include "toolbar/FlatToolBar.h"
#include "properties/PropertyFrame.h"
#include "tree/KestruneView.h"
#include "tree/TreeCommands.h"
#include "tree/TreeFindBar.h"
#include "app/UndoTexts.h"
#include "main/MenuPreviewPlacement.h"

using namespace kestrune;

namespace {
const char* const kRecentCommands[CRecentFileList::kMaxEntries] = {cmd::FileMru1, cmd::FileMru2, cmd::FileMru3,
                                                                   cmd::FileMru4};
}

CMainFrame::CMainFrame(CKestruneDoc& doc, CTemplateStore& templates, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_templates(templates) {
    setObjectName(QStringLiteral("mainFrame"));
    EnsureIconResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrune.png")));
    SetHelpTopic(this, helptopic::kMainWindow);
    m_commands = new CCommandTable(this);
    m_recentFiles.Load(App().Settings());
    m_flow = std::make_unique<CDocumentFlow>(m_doc, m_templates, m_recentFiles, this);
    m_publishing = std::make_unique<CSitePublishing>(
        m_doc, *m_flow, this, [this] { return m_pTreeView->CommitActivePage(); },
        [this](const QString& report) {
            m_pInfoView->ClearMessage();
            SetMessageText(report);
        });
    m_help = new CHelpCommands(App(), this);

    CreateToolBar();
    CreateStatusBar();
    CreatePanes();
    BuildMenus();
    BuildContextMenu();
    ConnectCommands();
    RefreshRecentFileMenu();
    resize(640, 480);

    connect(&m_doc, &CKestruneDoc::titleChanged, this, &CMainFrame::UpdateCaption);
    connect(&m_doc, &CKestruneDoc::modifiedChanged, this, &QWidget::setWindowModified);
    connect(&m_doc.UndoStack(), &QUndoStack::indexChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&m_doc.UndoStack(), &QUndoStack::canUndoChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&m_doc.UndoStack(), &QUndoStack::canRedoChanged, this, &CMainFrame::UpdateCommandStates);
    connect(m_flow.get(), &CDocumentFlow::recentFilesChanged, this, &CMainFrame::RefreshRecentFileMenu);
    connect(&m_flow->Work(), &CBackgroundWork::runningChanged, this, &CMainFrame::UpdateCommandStates);
    connect(m_pTreeView, &CKestruneView::commandStateChanged, this, &CMainFrame::UpdateCommandStates);
    connect(m_pTreeView, &CKestruneView::clearMessageRequested, this, &CMainFrame::OnClearMessage);
    m_flow->beforeSave = [this] {
        if (m_doc.m_bAutoChangeSize) ApplyAutoChangeSize(RecommendedSize(VisibleMenuBounds(m_doc.Applet())));
    };
    connect(m_flow.get(), &CDocumentFlow::savedMenusCut, this,
            [this] { m_pInfoView->ShowAction(Action(QString::fromLatin1(cmd::BuildFitAppletSize))); });
    connect(m_pFindBar->Edit(), &QLineEdit::textChanged, this, &CMainFrame::UpdateCommandStates);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&m_help->ContextMode(), &CContextHelpMode::activeChanged, this, [this](bool active) {
        if (active)
            statusBar()->showMessage(shelltexts::kContextHelpPrompt);
        else
            statusBar()->clearMessage();
    });
    App().Launcher().onEarlyFailure = [self = QPointer(this)](const QString& program, const QString& errors) {
        if (self && browsercommands::ReportEarlyFailure(self->App(), self, program, errors)) ShowMenuPreview(*self, self->Doc());
    };
    qApp->installEventFilter(this);
    UpdateCaption();
    UpdateCommandStates();
}

void CMainFrame::OnPreview() {
    if (CheckParametersIntoPane() && browsercommands::PreviewInBrowser(App(), m_doc.Applet(), m_doc.m_pageLanguage, this))
        ShowMenuPreview(*this, m_doc);
}

CMainFrame::~CMainFrame() = default;

CKestruneApp& CMainFrame::App() const { return m_doc.App(); }
IDialogService& CMainFrame::Dialogs() const { return App().Dialogs(); }

// --- Building the window ---------------------------------------------------------------

void CMainFrame::CreateToolBar() {
    m_wndToolBar = new CFlatToolBar(QStringLiteral("Toolbar"), this);
    SetHelpTopic(m_wndToolBar, helptopic::kToolbar);
    for (const CommandEntry* entry : m_commands->ToolbarCommands()) {
        m_wndToolBar->addAction(m_commands->Action(entry->id));
        if (entry->toolbarSeparatorAfter) m_wndToolBar->addSeparator();
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::CreateStatusBar() {
    // No size grip: the window's frame resizes it, and making the grip loads the cursor
    // theme before the first window can show.
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    setStatusBar(bar);
    SetHelpTopic(bar, helptopic::kStatusBar);
    // A normal widget: temporary prompts cover it and it shows again when they end.
    m_pReadyLabel = new QLabel(shelltexts::kReadyPrompt, bar);
    bar->addWidget(m_pReadyLabel, 1);
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(QString::fromLatin1(indicator), bar);
        label->setObjectName(QString::fromLatin1(indicator));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
        // The lock states cannot be read portably; the indicators stay dimmed.
        label->setEnabled(false);
        bar->addPermanentWidget(label);
    }
}

void CMainFrame::CreatePanes() {
    m_wndSplitter = new QSplitter(Qt::Vertical, this);
    m_wndSplitter->setObjectName(QStringLiteral("paneSplitter"));
    m_wndSplitter->setChildrenCollapsible(true);
    m_pTreeView = new CKestruneView(m_doc, m_wndSplitter);
    SetHelpTopic(m_pTreeView, helptopic::kMenuTree);
    connect(m_pTreeView, &CKestruneView::helpRequested, this, &CMainFrame::ShowHelpTopic);
    m_pInfoView = new CWizardInfoView(m_wndSplitter);
    SetHelpTopic(m_pInfoView, helptopic::kMessagePane);
    m_wndSplitter->addWidget(m_pTreeView);
    m_wndSplitter->addWidget(m_pInfoView);
    // The tree keeps its stored height while the window first settles; after that a window
    // grown by the user gives the room to the tree (see showEvent).
    m_wndSplitter->setStretchFactor(0, 0);
    m_wndSplitter->setStretchFactor(1, 1);
    // The find line sits right above the tree and is shown only while finding; the two
    // panes keep their splitter to themselves.
    auto* central = new QWidget(this);
    m_pFindBar = new CTreeFindBar(*m_pTreeView, central);
    m_pTreeView->SetFindBar(m_pFindBar);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_pFindBar);
    column->addWidget(m_wndSplitter, 1);
    setCentralWidget(central);

    const ISettingsStore& settings = App().Settings();
    m_treeHeight = std::max(0, settings.GetInt(shelltexts::kSettingsSection, shelltexts::kTreeHeightKey,
                                               shelltexts::kDefaultTreeSize));
    // The width the tree pane had: the first window is made at least that wide.
    m_treeWidth = std::max(0, settings.GetInt(shelltexts::kSettingsSection, shelltexts::kTreeWidthKey,
                                              shelltexts::kDefaultTreeSize));
    connect(&m_doc, &CKestruneDoc::commitPendingPage, m_pTreeView, [this] { m_pTreeView->CommitActivePage(); });
    connect(&m_doc, &CKestruneDoc::messageShown, m_pInfoView, &CWizardInfoView::SetMessageText);
    m_doc.m_bAutoChangeSize = settings.GetInt(shelltexts::kSettingsSection, shelltexts::kAutoChangeSizeKey, 0);
    m_doc.m_bScriptRuntime = settings.GetInt(shelltexts::kSettingsSection, shelltexts::kScriptRuntimeKey, 0) ? 1 : 0;
    m_doc.m_pageLanguage = pagelanguage::Read(settings);
    m_panes = new CPaneFocus(*this, *m_pTreeView, *m_pInfoView, *m_pFindBar, [this] { UpdateCommandStates(); });
    ApplyTreePaneSize();
}

void CMainFrame::ApplyTreePaneSize() {
    const int total = std::max(m_wndSplitter->height(), m_treeHeight);
    m_wndSplitter->setSizes({m_treeHeight, std::max(0, total - m_treeHeight)});
}

void CMainFrame::BuildMenus() {
    for (MenuGroup group : {MenuGroup::File, MenuGroup::Edit, MenuGroup::View, MenuGroup::Menu, MenuGroup::Build,
                            MenuGroup::Options, MenuGroup::Help}) {
        QMenu* menu = menuBar()->addMenu(CCommandTable::MenuTitle(group));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        m_menus.insert(group, menu);
    }
    for (const CommandEntry& entry : m_commands->Entries()) {
        QAction* action = m_commands->Action(entry.id);
        if (entry.menu == MenuGroup::KeysOnly) {
            addAction(action);  // keys work without a menu entry
            continue;
        }
        m_menus[entry.menu]->addAction(action);
        if (entry.separatorAfter) m_menus[entry.menu]->addSeparator();
    }
    // Help keys work in every window of the program, dialogs and the property frame included.
    Action(cmd::HelpContext)->setShortcutContext(Qt::ApplicationShortcut);
    Action(cmd::HelpContextMode)->setShortcutContext(Qt::ApplicationShortcut);
}

void CMainFrame::BuildContextMenu() {
    m_pTreePopup = new QMenu(this);
    m_pTreePopup->setObjectName(QStringLiteral("treePopup"));
    for (const char* id : {cmd::MenuInsert, cmd::MenuInsertAfter, cmd::MenuDelete, cmd::MenuVisible})
        m_pTreePopup->addAction(Action(QString::fromLatin1(id)));
    m_pTreePopup->addSeparator();
    m_pTreePopup->addAction(Action(cmd::MenuMoveUp));
    m_pTreePopup->addAction(Action(cmd::MenuMoveDown));
    m_pTreePopup->addSeparator();
    m_pTreePopup->addAction(Action(cmd::MenuProperty));
    m_pTreePopup->addSeparator();
    for (const char* id : {cmd::EditCut, cmd::EditCopy, cmd::EditPaste, cmd::EditRename})
        m_pTreePopup->addAction(Action(QString::fromLatin1(id)));
    connect(m_pTreePopup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    m_pTreeView->SetContextMenu(m_pTreePopup);
}

void CMainFrame::Route(const char* id, std::function<void()> handler) {
    QAction* action = Action(QString::fromLatin1(id));
    connect(action, &QAction::triggered, this, [action, handler = std::move(handler)] {
        // A command whose entry is disabled does nothing, also when given by its key.
        if (action->isEnabled()) handler();
    });
}

void CMainFrame::RouteToTree(const char* id, void (CKestruneView::*command)()) {
    Route(id, [this, command] {
        if (IsTreePaneActive()) (m_pTreeView->*command)();
    });
}

void CMainFrame::ConnectCommands() {
    Route(cmd::FileNew, [this] { OnFileNew(); });
    Route(cmd::FileOpen, [this] { OnFileOpen(); });
    Route(cmd::FileSave, [this] { OnFileSave(); });
    Route(cmd::FileSaveAs, [this] { OnFileSaveAs(); });
    Route(cmd::FileSaveAsTemplate, [this] { OnFileSaveAsTemplate(); });
    Route(cmd::FilePublish, [this] { m_publishing->Start(); });
    for (int i = 0; i < CRecentFileList::kMaxEntries; ++i) Route(kRecentCommands[i], [this, i] { OnOpenRecentFile(i); });
    Route(cmd::AppExit, [this] { close(); });
    Route(cmd::EditUndo, [this] { StepHistory(false); });
    Route(cmd::EditRedo, [this] { StepHistory(true); });
    RouteToTree(cmd::EditRename, &CKestruneView::OnEditRename);
    Route(cmd::EditFind, [this] { m_pFindBar->Open(); });
    Route(cmd::EditFindNext, [this] { m_pFindBar->FindNext(); });
    RouteToTree(cmd::EditCut, &CKestruneView::OnEditCut);
    RouteToTree(cmd::EditCopy, &CKestruneView::OnEditCopy);
    RouteToTree(cmd::EditPaste, &CKestruneView::OnEditPaste);
    Route(cmd::ViewToolbar, [this] { ToggleBar(m_wndToolBar); });
    Route(cmd::ViewStatusBar, [this] { ToggleBar(statusBar()); });
    RouteToTree(cmd::MenuInsert, &CKestruneView::OnMenuInsert);
    RouteToTree(cmd::MenuInsertMenu, &CKestruneView::OnMenuInsertMenu);
    RouteToTree(cmd::MenuInsertAfter, &CKestruneView::OnMenuInsertAfter);
    RouteToTree(cmd::MenuApplyStyleToSubMenus, &CKestruneView::OnMenuApplyStyleToSubMenus);
    RouteToTree(cmd::MenuDelete, &CKestruneView::OnMenuDelete);
    RouteToTree(cmd::MenuVisible, &CKestruneView::OnMenuVisible);
    RouteToTree(cmd::MenuMoveUp, &CKestruneView::OnMenuMoveUp);
    RouteToTree(cmd::MenuMoveDown, &CKestruneView::OnMenuMoveDown);
    RouteToTree(cmd::MenuProperty, &CKestruneView::OnMenuProperty);
    Route(cmd::BuildCheck, [this] { OnCheckParameters(); });
    Route(cmd::BuildCheckLinks, [this] { OnCheckLinks(); });
    Route(cmd::BuildHtml, [this] { OnBuildHtml(); });
    Route(cmd::BuildPreview, [this] { OnPreview(); });
    Route(cmd::ViewMenuPreview, [this] { ShowMenuPreview(*this, m_doc); });
    Route(cmd::BuildClearMessage, [this] { OnClearMessage(); });
    Route(cmd::BuildFitAppletSize, [this] { OnFitAppletSize(); });
    Route(cmd::OptionsWebBrowser, [this] { browsercommands::RunWebBrowserCommand(App(), this); });
    Route(cmd::OptionsTemplate, [this] { OnOptionsTemplate(); });
    Route(cmd::OptionsAutoChange, [this] { OnAutoChangeSize(); });
    Route(cmd::OptionsScriptRuntime, [this] { OnScriptRuntime(); });
    Route(cmd::OptionsPageLanguage, [this] { OnPageLanguage(); });
    Route(cmd::HelpTopics, [this] { HelpWindow().ShowContents(); });
    Route(cmd::HelpGettingStarted, [this] { ShowHelpTopic(helptopic::kGettingStarted); });
    Route(cmd::HelpSearch, [this] { HelpWindow().ShowIndex(); });
    Route(cmd::HelpViewSample, [this] { browsercommands::LaunchSamplePage(App()); });
    Route(cmd::HelpFaq, [this] { ShowHelpTopic(helptopic::kFaq); });
    Route(cmd::HelpAbout, [this] { OnAbout(); });
    Route(cmd::HelpContext, [this] { m_help->ShowForFocus(); });
    Route(cmd::HelpContextMode, [this] { m_help->ContextMode().Begin(); });
    Route(cmd::NextPane, [this] { m_panes->Cycle(1); });
    Route(cmd::PrevPane, [this] { m_panes->Cycle(-1); });
}

// --- Enabling and panes ---------------------------------------------------------------

bool CMainFrame::IsTreePaneActive() const { return m_panes->IsTreeActive(); }
QWidget* CMainFrame::ActivePane() const { return m_panes->Active(); }
void CMainFrame::ActivatePane(QWidget* pane) { m_panes->Activate(pane); }
void CMainFrame::FocusTree() { m_panes->Activate(m_pTreeView); }

CommandContext CMainFrame::CurrentCommandContext() const {
    CommandContext context;
    context.treePaneActive = IsTreePaneActive();
    const QModelIndex selected = m_pTreeView->SelectedNode();
    context.hasSelection = selected.isValid();
    context.selectionKind = CKestruneView::GetNodeKind(selected);
    context.selectionVisible = treecommands::IsNodeVisible(selected);
    context.clipboardHasItem = m_pTreeView->ClipboardHasItem();
    context.autoChangeSize = m_doc.m_bAutoChangeSize != 0;
    context.scriptRuntime = m_doc.m_bScriptRuntime != 0;
    context.toolbarShown = !m_wndToolBar->isHidden();
    context.statusBarShown = !statusBar()->isHidden();
    context.recentFileCount = m_recentFiles.Count();
    context.findActive = m_pFindBar->IsFiltering();
    context.fileWorkRunning = m_flow->IsWorking();
    context.saving = m_flow->IsSaving();
    if (m_doc.CanUndo()) context.undoName = m_doc.UndoText();
    if (m_doc.CanRedo()) context.redoName = m_doc.RedoText();
    return context;
}

void CMainFrame::UpdateCommandStates() {
    m_commands->ApplyStates(ComputeCommandStates(CurrentCommandContext()));
    m_wndToolBar->SyncButtonStates();
}

void CMainFrame::RefreshRecentFileMenu() {
    for (int i = 0; i < CRecentFileList::kMaxEntries; ++i) {
        QAction* action = Action(kRecentCommands[i]);
        action->setText(i < m_recentFiles.Count() ? m_recentFiles.MenuText(i) : shelltexts::kRecentFilePlaceholder);
        action->setToolTip(i < m_recentFiles.Count() ? m_recentFiles.Files()[i] : QString());
    }
    UpdateCommandStates();
}

void CMainFrame::UpdateCaption() {
    // "[*]" marks where the modified mark goes; one inside a file name is doubled to stay text.
    QString name = m_doc.Title();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(name + QStringLiteral("[*]") + shelltexts::kCaptionSeparator + shelltexts::kAppTitle);
    setWindowModified(m_doc.IsModified());
}

// --- Start and close ------------------------------------------------------------------

void CMainFrame::ShowWithSavedPlacement() {
    const std::string saved = App().Settings().GetString(shelltexts::kSettingsSection, shelltexts::kWindowPosKey);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (auto placement = ParseWindowPlacement(saved)) {
        // A placement saved on a larger screen (or at another scale) is brought onto this one.
        const QRect kept = KeptOnScreen(QRect(placement->left, placement->top, placement->right - placement->left,
                                              placement->bottom - placement->top),
                                        available);
        placement->left = kept.left();
        placement->top = kept.top();
        placement->right = kept.left() + kept.width();
        placement->bottom = kept.top() + kept.height();
        ShowWithPlacement(*this, *placement);
    } else {
        setGeometry(FirstWindowGeometry(available, QSize(m_treeWidth, m_treeHeight * 2)));
        show();
    }
    // A placement saved at another scale, or at the screen's top edge, keeps the title bar
    // in view once the window manager has put it on.
    KeepFrameOnScreen(*this);
    m_pTreeView->setFocus(Qt::ActiveWindowFocusReason);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Keys reach the platform window first and then the widget: answer for the widget.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || event->type() != QEvent::KeyPress || !QApplication::activeModalWidget()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::ShiftModifier)) return false;
    if (key->modifiers() & Qt::ShiftModifier)
        m_help->ContextMode().Begin();
    else
        ShowHelpFor(widget);
    return true;
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) m_panes->WindowActivationChanged();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_treeSizeApplied) return;
    m_treeSizeApplied = true;
    ApplyTreePaneSize();
    QTimer::singleShot(0, this, [this] {
        m_wndSplitter->setStretchFactor(0, 1);
        m_wndSplitter->setStretchFactor(1, 0);
    });
}

void CMainFrame::WriteWindowSettings() {
    ISettingsStore& settings = App().Settings();
    settings.SetString(shelltexts::kSettingsSection, shelltexts::kWindowPosKey,
                       FormatWindowPlacement(CaptureWindowPlacement(*this)));
    settings.SetInt(shelltexts::kSettingsSection, shelltexts::kTreeHeightKey, m_pTreeView->height());
    settings.SetInt(shelltexts::kSettingsSection, shelltexts::kTreeWidthKey, m_pTreeView->width());
    settings.SetInt(shelltexts::kSettingsSection, shelltexts::kAutoChangeSizeKey, m_doc.m_bAutoChangeSize);
    settings.SetInt(shelltexts::kSettingsSection, shelltexts::kScriptRuntimeKey, m_doc.m_bScriptRuntime);
    m_pTreeView->SaveOpenNodes();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    // A running Open or Save stops first; the close comes back once it has.
    if (m_flow->IsWorking()) {
        m_flow->CancelWork();
        connect(m_flow.get(), &CDocumentFlow::workEnded, this, &QWidget::close,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
        return;
    }
    // Written first and kept even when the user then cancels the close.
    WriteWindowSettings();
    const auto answer = m_flow->AskToSave([this](bool saved) {
        if (saved) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
    if (answer != CDocumentFlow::Answer::GoOn) return;
    event->accept();
    // Exit ends the program: every other window of it (help, previews, the property frame,
    // pages shown by the viewer) goes with the main window.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
    m_help->HideWindow();
    emit closed();
}

// --- File commands --------------------------------------------------------------------

void CMainFrame::OnFileNew() {
    m_flow->NewDocument();
    FocusTree();
}

void CMainFrame::OnFileOpen() {
    const QString path =
        Dialogs().GetOpenFileName(this, shelltexts::kOpenCaption, m_flow->DialogFolder(), shelltexts::kOpenFilter);
    if (!path.isEmpty()) m_flow->OpenWithQuestion(path);
    FocusTree();
}

void CMainFrame::OnFileSave() { m_flow->Save(false); }
void CMainFrame::OnFileSaveAs() { m_flow->Save(true); }

void CMainFrame::OnOpenRecentFile(int index) {
    if (index >= 0 && index < m_recentFiles.Count()) m_flow->OpenRecentFile(m_recentFiles.Files()[index]);
}

void CMainFrame::OnFileSaveAsTemplate() {
    CDlgSaveAsTemplate dialog(m_templates.ListTemplateNames(), Dialogs(), this);
    if (Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return;
    std::string error;
    std::string warnings;
    const bool saved = m_templates.SaveTemplate(m_doc.Applet(), convert::FromQt(dialog.TemplateName()),
                                                dialog.InsertPosition(), &error, &warnings);
    if (!warnings.empty()) Dialogs().ShowMessage(this, QString::fromLocal8Bit(warnings));
    if (!saved) Dialogs().ShowMessage(this, QString::fromLocal8Bit(error));
}

void CMainFrame::OnOptionsTemplate() {
    CDlgManageTemplates dialog(m_templates, Dialogs(), this);
    Dialogs().ExecDialog(&dialog);
}

// --- Edit -----------------------------------------------------------------------------

// What the shown page still holds is an edit of its own: it is written first, and so is
// the step undone when it changed anything.
void CMainFrame::StepHistory(bool forward) {
    if (!m_pTreeView->CommitUserEdits()) return;
    forward ? m_doc.Redo() : m_doc.Undo();
    UpdateCommandStates();
}

// --- View -----------------------------------------------------------------------------

void CMainFrame::ToggleBar(QWidget* bar) {
    bar->setVisible(bar->isHidden());
    UpdateCommandStates();
}


// --- Build ----------------------------------------------------------------------------

void CMainFrame::SetMessageText(const QString& text) { m_pInfoView->SetMessageText(text); }

void CMainFrame::OnClearMessage() {
    m_pInfoView->ClearMessage();
}

bool CMainFrame::CheckParametersIntoPane() {
    // A page that refuses its values keeps the user (and the focus) in the offending box.
    if (!m_pTreeView->CommitActivePage()) return false;
    m_pInfoView->ClearMessage();
    m_pInfoView->SetMessageFont(m_pTreeView->font());
    // A saved document is checked as a save into its folder would judge its media.
    const std::string page = m_doc.PathName().toLocal8Bit().toStdString();
    const ParameterCheckResult result = CheckParameters(m_doc.Applet(), false, {!page.empty(), App().AppDir(), page});
    if (m_doc.m_bAutoChangeSize) ApplyAutoChangeSize({result.recommendedWidth, result.recommendedHeight});
    // Below the report, which stays as the command line prints it.
    SetMessageText(convert::LabelToWidget(result.report) + OversizedImageLines(m_doc.Applet()));
    return true;
}

// A resize under Auto-Change is a change of the model like any other. The applet page must
// accept what it sets, or it could never be left.
void CMainFrame::ApplyAutoChangeSize(AppletSize recommended) {
    const auto accepted = [](std::int32_t size) { return std::clamp(size, texts::kMinAppletSize, texts::kMaxAppletSize); };
    SetAppletSize(m_doc, {accepted(recommended.width), accepted(recommended.height)}, undotexts::kAutoChangeSize);
    m_pTreeView->RefreshAppletPage();
}

void CMainFrame::OnFitAppletSize() {
    if (!m_pTreeView->CommitActivePage()) return;
    FitAppletToMenus(m_doc);
    m_pTreeView->RefreshAppletPage();
}

void CMainFrame::OnCheckParameters() { CheckParametersIntoPane(); }

// The site is the folder of the document's page: a document never saved has none.
void CMainFrame::OnCheckLinks() {
    if (!m_pTreeView->CommitActivePage()) return;
    if (m_doc.PathName().isEmpty()) {
        Dialogs().ShowMessage(this, shelltexts::kSaveFirstForSite, IDialogService::Buttons::Ok,
                              IDialogService::Icon::Information);
        return;
    }
    const QFileInfo page(m_doc.PathName());
    const std::filesystem::path top = convert::PathFromQt(page.absolutePath());
    const LinkCheckResult result =
        CheckSiteLinks(m_doc.Applet(), top, ScanSite(top, convert::PathFromQt(page.fileName())));
    m_pInfoView->ClearMessage();
    m_pInfoView->SetMessageFont(m_pTreeView->font());
    SetMessageText(convert::LabelToWidget(result.report));
}

void CMainFrame::OnBuildHtml() {
    if (!CheckParametersIntoPane()) return;
    CDlgHtml dialog(convert::SourceToQt(kestrune::BuildPage(m_doc.Applet(), m_doc.m_bScriptRuntime != 0,
                                                                         m_doc.m_pageLanguage)), this);
    connect(&dialog, &CDlgHtml::helpRequested, this, &CMainFrame::ShowHelpTopic);
    Dialogs().ExecDialog(&dialog);
}

// --- Options --------------------------------------------------------------------------

void CMainFrame::OnAutoChangeSize() {
    m_doc.m_bAutoChangeSize = m_doc.m_bAutoChangeSize ? 0 : 1;
    UpdateCommandStates();
}

void CMainFrame::OnScriptRuntime() {
    m_doc.m_bScriptRuntime = m_doc.m_bScriptRuntime ? 0 : 1;
    UpdateCommandStates();
}

void CMainFrame::OnPageLanguage() {
    const std::string tag = pagelanguage::Ask(Dialogs(), this, m_doc.m_pageLanguage);
    if (tag.empty()) return;
    m_doc.m_pageLanguage = tag;
    pagelanguage::Write(App().Settings(), tag);
}

// --- Help -----------------------------------------------------------------------------

CHelpWindow& CMainFrame::HelpWindow() { return m_help->Window(); }
void CMainFrame::ShowHelpTopic(const QString& topic) { m_help->ShowTopic(topic); }
void CMainFrame::ShowHelpFor(const QWidget* widget) { m_help->ShowFor(widget); }

void CMainFrame::OnAbout() {
    CAboutDlg dialog(this);
    Dialogs().ExecDialog(&dialog);
}
