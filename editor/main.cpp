#include "EditorMain.h"
#include "cli/HeadlessCommandLine.h"
#include "preview/MenuViewerCommand.h"

int main(int argc, char** argv) {
    if (const auto viewed = RunMenuViewer(argc, argv)) return *viewed;
    if (IsHeadlessInvocation(argc, argv)) return RunHeadless(argc, argv);
    return RunEditor(argc, argv);
}
