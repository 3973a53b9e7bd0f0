#pragma once

#include <cstdint>

// Readies the heap of a command-line run for the document it reads from a file of
// fileBytes: the memory the model and its page will take is reserved in one growth of
// the heap and backed by huge pages where the system offers them, so the kernel is not
// asked for it one small page at a time (a third of the run for a big document). Small
// files and other systems are left alone.
void PrepareHeapForDocument(std::uintmax_t fileBytes);
