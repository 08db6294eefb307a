#pragma once

#include <cstddef>

// Start-up hands the GL driver some 150 MiB to allocate for textures and render targets, which
// it zeroes at once. In 4 KiB pages that is tens of thousands of page faults on the thread that
// everything waits for, costing more than the picture copies themselves. This grows the heap
// once by `bytes` (untouched, so not yet resident) and asks for huge pages there; allocations up
// to 32 MiB then come from it, and freed memory stays in the process for the next ones.
// Call first thing in main, before any other thread exists. Does nothing where the C library or
// a sanitizer's allocator does not allow it.
void prepareStartupHeap(size_t bytes);

// Has a helper thread fault the prepared heap in, so that the kernel zeroes its pages on an
// otherwise idle core rather than when the uploads first write them. Call once the pictures
// are mostly decoded (after the window opens); the game fills the whole prepared heap, so this
// makes nothing resident that start-up would not.
void faultInStartupHeap();

// Gives the memory freed during start-up (decoding and compiling buffers) back to the system;
// what the frames then free stays for the next frames. Call once the game has started.
void returnStartupLeftovers();

// What the game prepares: less than its heap holds once started (some 265 MiB: the pictures it
// keeps, its textures below 32 MiB, the render targets and the driver's own buffers), so that
// faulting all of it in ahead costs no memory.
constexpr size_t kGameStartupHeap = size_t{224} << 20;
