// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/ProgramFolders.h"
#include "services/TemplateStore.h"

class CMainFrame;
class IDialogService;

// The running editor: application object, template store, document and main window, with
// the start-up steps after the settings store is bound and before the event loop runs.
class CEditorShell {
public:
    // One folder for reading and writing, the preview folder inside it (the portable layout).
    CEditorShell(const QString& appDir, IDialogService& dialogs, kestrune::ISettingsStore& settings);
    // Shipped data read from folders.appDir, templates written to folders.userDir, the
    // preview folder made inside a private folder of the run.
    CEditorShell(const ProgramFolders& folders, IDialogService& dialogs, kestrune::ISettingsStore& settings);
    ~CEditorShell();

    // Loads the browser choice, seeds the template list, creates the main window and
    // performs New (nothing to ask at the start); true once the document is there.
    bool Start();
    // The same, or opens the given page or menu file; then(started) follows, false when it
    // cannot be opened. A load the user cancels leaves New's document instead.
    void Start(const QString& fileToOpen, const std::function<void(bool)>& then);
    // The same for the program's start: the main window shows first, and a named document
    // loads into it with its progress in view.
    void StartShown(const QString& fileToOpen, const std::function<void(bool)>& then);
    // Loads the browser choice, seeds the template list and creates the main window, without
    // a document; Start and StartShown do it when it has not been done.
    void CreateFrame();
    // Shows the main window with its saved placement.
    void Show();
    // At program end: the preview folder goes, and the run's private folder with it.
    void CleanUp();

    CKestruneApp& App() { return m_app; }
    CKestruneDoc& Doc() { return m_doc; }
    kestrune::CTemplateStore& Templates() { return m_templates; }
    CMainFrame& Frame() { return *m_frame; }

private:
    CKestruneApp m_app;
    kestrune::CTemplateStore m_templates;
    CKestruneDoc m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};
