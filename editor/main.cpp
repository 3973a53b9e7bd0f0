#include "EditorMain.h"
#include "cli/HeadlessCommandLine.h"

int main(int argc, char** argv) {
    if (IsHeadlessInvocation(argc, argv)) return RunHeadless(argc, argv);
    return RunEditor(argc, argv);
}
