// Preview and the browser choice. The preview code replaces these bodies.
#include "main/MainFrame.h"

void CMainFrame::OnPreview() { CheckParametersIntoPane(); }
void CMainFrame::OnWebBrowser() {}
