#include "main/EditorResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

void InitEditorResources() {
    static const bool done = [] {
        InitIconResources();
        return true;
    }();
    (void)done;
}
