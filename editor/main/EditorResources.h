#pragma once

// The editor's compiled-in resources (pictures) live in a static library, whose resource
// initialisers are linked only when asked for. Safe to call more than once.
void InitEditorResources();
