#include "infra/StartupHeap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#include <sys/mman.h>
#define FYREL_TUNE_HEAP 1
#endif

#ifdef FYREL_TUNE_HEAP
namespace {
constexpr size_t kLargestFromHeap = size_t{32} << 20;  // glibc's ceiling for this setting
constexpr size_t kBlock = size_t{16} << 20;
constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
}  // namespace

void prepareStartupHeap(size_t bytes) {
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargestFromHeap));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(size_t{1} << 30));
    // Blocks below the threshold extend the heap itself, contiguously.
    std::vector<void*> blocks;
    uintptr_t low = UINTPTR_MAX, high = 0;
    for (size_t grown = 0; grown < bytes; grown += kBlock) {
        void* block = std::malloc(kBlock);
        if (!block) break;
        blocks.push_back(block);
        const auto address = reinterpret_cast<uintptr_t>(block);
        low = std::min(low, address);
        high = std::max(high, address + kBlock);
    }
    const uintptr_t start = (low + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = high & ~(kHugePage - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    for (void* block : blocks) std::free(block);
}

void returnStartupLeftovers() {
    malloc_trim(0);
}
#else
void prepareStartupHeap(size_t) {}
void returnStartupLeftovers() {}
#endif
