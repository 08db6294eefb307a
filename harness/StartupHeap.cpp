#include "harness/StartupHeap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#define FYREL_TUNE_HEAP 1
#endif

#ifdef FYREL_TUNE_HEAP
namespace {

constexpr size_t kLargestFromHeap = size_t{32} << 20;  // glibc's ceiling for this setting
constexpr size_t kBlock = size_t{16} << 20;
constexpr uintptr_t kHugePage = uintptr_t{2} << 20;

// The prepared part of the heap, in whole huge pages, and the thread faulting it in.
struct PreparedHeap {
    uintptr_t start = 0, end = 0;
    std::thread faulting;
    ~PreparedHeap() {
        if (faulting.joinable()) faulting.join();
    }
};

PreparedHeap& preparedHeap() {
    static PreparedHeap heap;
    return heap;
}

void faultIn(uintptr_t start, uintptr_t end) {
    // Only on a core nothing else wants: the start-up thread must never wait for this one.
    const sched_param idle{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
    // A huge page at a time, so that the start-up thread soon finds the first ones ready.
    for (uintptr_t at = start; at < end; at += kHugePage) {
        // Only marks pages present; what the heap holds there is not touched.
        if (madvise(reinterpret_cast<void*>(at), kHugePage, MADV_POPULATE_WRITE) != 0) return;
    }
}

}  // namespace

void prepareStartupHeap(size_t bytes) {
    // The decoding threads allocate the pictures the game keeps and little else: in heaps of
    // their own, what they free would stay behind in them.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargestFromHeap));
    // Never give freed heap back: the game allocates at start-up and then keeps what it has.
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
    preparedHeap().start = start;
    preparedHeap().end = std::max(start, end);
}

void faultInStartupHeap() {
    PreparedHeap& heap = preparedHeap();
    if (heap.end > heap.start && !heap.faulting.joinable()) {
        heap.faulting = std::thread(faultIn, heap.start, heap.end);
    }
}

void returnStartupLeftovers() {
    if (preparedHeap().faulting.joinable()) preparedHeap().faulting.join();
    malloc_trim(0);
}
#else
void prepareStartupHeap(size_t) {}
void faultInStartupHeap() {}
void returnStartupLeftovers() {}
#endif
