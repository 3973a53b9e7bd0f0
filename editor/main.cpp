// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <new>

#include "EditorMain.h"
#include "cli/HeadlessCommandLine.h"
#include "cli/HeadlessTexts.h"
#include "preview/MenuViewerCommand.h"

int main(int argc, char** argv) {
    // Every reader is bounded; should memory still run out, the program says so and ends
    // with a status instead of an abort.
    try {
        if (const auto viewed = RunMenuViewer(argc, argv)) return *viewed;
        if (IsHeadlessInvocation(argc, argv)) return RunHeadless(argc, argv);
        return RunEditor(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s%s\n", headlesstexts::kUsagePrefix, headlesstexts::kOutOfMemory);
        return 1;
    }
}
