// Preview and the browser choice.
#include "main/MainFrame.h"

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "browser/BrowserCommands.h"
#include "services/PreviewWriter.h"

void CMainFrame::OnPreview() {
    CheckParametersIntoPane();
    std::string error;
    // A preview that could not be written is reported; the browser still shows what is there.
    if (!kestrune::WritePreviewFiles(m_doc.Applet(), App().AppDir(), App().PreviewBase(), &error))
        Dialogs().ShowMessage(this, QString::fromLocal8Bit(error));
    browsercommands::LaunchPreviewPage(App());
}

void CMainFrame::OnWebBrowser() { browsercommands::RunWebBrowserCommand(App(), this); }
