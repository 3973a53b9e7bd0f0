#include "preview/MenuPreviewCommand.h"

#include "main/MainFrame.h"
#include "preview/MenuPreviewWindow.h"
#include "preview/PreviewTexts.h"

void InstallMenuPreviewCommand(CMainFrame& frame) {
    CommandSpec spec;
    spec.id = QString::fromLatin1(previewtexts::kCommandId);
    spec.text = QString::fromLatin1(previewtexts::kCommandText);
    spec.prompt = QString::fromLatin1(previewtexts::kCommandPrompt);
    spec.tooltip = QString::fromLatin1(previewtexts::kCommandTooltip);
    spec.icon = QString::fromLatin1(previewtexts::kCommandIcon);
    spec.menu = MenuGroup::View;
    spec.toolbarPosition = 1;  // after the standard buttons
    spec.helpTopic = QString::fromLatin1(previewtexts::kHelpTopic);
    spec.isEnabled = [] { return true; };
    frame.AddCommand(spec, [&frame] { ShowMenuPreview(frame); });
}

CMenuPreviewWindow& ShowMenuPreview(CMainFrame& frame) {
    auto* window = frame.findChild<CMenuPreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = new CMenuPreviewWindow(frame.Doc(), &frame);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}
