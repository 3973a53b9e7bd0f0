// The editor started as a user starts it, ending once its first window is shown: timed
// as a whole process next to EmptyWindowProbe.
#include "EditorMain.h"

int main(int argc, char** argv) { return RunEditor(argc, argv, true); }
