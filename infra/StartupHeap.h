#pragma once

#include <cstddef>

// Start-up hands the GL driver some 150 MiB to allocate for textures and render targets, which
// it zeroes at once. In 4 KiB pages that is tens of thousands of page faults on the thread that
// everything waits for, costing more than the picture copies themselves (start-up to the first
// frame takes about a third longer without this).
//
// This changes how the whole process allocates, for every thread and library in it:
// - one heap (malloc arena) for all threads, so no helper thread's heap keeps what it freed;
// - blocks up to 32 MiB come from that heap instead of mappings of their own;
// - freed heap memory stays in the process until returnStartupLeftovers() (and afterwards
//   below 1 GiB of free memory at the top), as the game allocates at start-up and then keeps
//   what it has;
// - the heap grows once by `bytes` (untouched, so not yet resident) and asks the kernel for
//   huge pages there, which it faults in 2 MiB at a time as the uploads first write them.
// Call first thing in main, before any other thread exists. Does nothing where the C library or
// a sanitizer's allocator does not allow it.
void prepareStartupHeap(size_t bytes);

// Gives the memory freed during start-up (decoding and compiling buffers) back to the system;
// what the frames then free stays for the next frames. Call once the game has started.
void returnStartupLeftovers();

// What the game prepares: less than its heap holds once started (some 265 MiB: the pictures it
// keeps, its textures below 32 MiB, the render targets and the driver's own buffers), so that
// the prepared heap costs no memory the game would not take anyway.
constexpr size_t kGameStartupHeap = size_t{224} << 20;
