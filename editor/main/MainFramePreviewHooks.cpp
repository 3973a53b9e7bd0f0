// Preview and the browser choice.
#include "main/MainFrame.h"

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "browser/BrowserCommands.h"
#include "main/MenuPreviewCommand.h"
#include "services/PreviewWriter.h"

void CMainFrame::OnPreview() {
    if (!CheckParametersIntoPane()) return;
    std::string error;
    // A preview that could not be written is reported; the browser still shows what is there.
    if (!kestrune::WritePreviewFiles(m_doc.Applet(), App().AppDir(), App().PreviewBase(), &error,
                                     &App().m_previewWrites))
        Dialogs().ShowMessage(this, QString::fromLocal8Bit(error));
    QString failure;
    if (browsercommands::LaunchPreviewPage(App(), &failure)) return;
    if (Dialogs().ShowMessage(this, failure, IDialogService::Buttons::YesNo, IDialogService::Icon::Warning) ==
        IDialogService::Answer::Yes)
        ShowMenuPreview(*this);
}

void CMainFrame::OnWebBrowser() { browsercommands::RunWebBrowserCommand(App(), this); }
