#include "cli/DocumentHeap.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

void PrepareHeapForDocument(std::uintmax_t fileBytes) {
#if defined(__GLIBC__) && defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintmax_t kWorthIt = std::uintmax_t{16} << 20;
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    constexpr std::size_t kProbeBlock = 64 << 10;  // below the size malloc maps on its own
    if (fileBytes < kWorthIt) return;
    // The model and the page take about twice the file; more is not reserved up front.
    const auto reserve = static_cast<std::size_t>(std::min<std::uintmax_t>(fileBytes * 2, std::uintmax_t{8} << 30));
    // The next growth of the heap takes the whole reserve at once, and what is freed stays
    // in it (on its huge pages) rather than going back to the system piece by piece: the
    // run ends soon after the command.
    if (mallopt(M_TOP_PAD, static_cast<int>(std::min<std::size_t>(reserve, 1u << 30))) == 0) return;
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(std::min<std::size_t>(reserve * 2, 1u << 30)));
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    std::vector<void*> probes;
    while (reinterpret_cast<std::uintptr_t>(sbrk(0)) == before && probes.size() < 1024) {
        void* block = std::malloc(kProbeBlock);
        if (!block) break;
        probes.push_back(block);
    }
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    for (void* block : probes) std::free(block);
    mallopt(M_TOP_PAD, 128 << 10);
    const std::uintptr_t first = (before + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = after & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)fileBytes;
#endif
}
