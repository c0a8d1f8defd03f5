#pragma once

#include <cstddef>

// The heap the first window needs, mapped in one call rather than a page at
// a time.
//
// Until the first window is painted the program allocates some 6 MB: the
// font faces' tables (FreeType keeps several arrays of 100-200 KB for each
// Noto CJK face), the toolkit's own state, the window's backing store and
// its paper. glibc maps fresh heap pages lazily, one page fault per 4 KB
// page. A page fault is cheap on a bare machine, but inside many virtual
// machines each one costs ten microseconds or more, while the kernel maps
// the same pages in one madvise(MADV_POPULATE_WRITE) call at a tenth of
// that. On such a machine the page faults were a tenth of the time to the
// first window.
namespace StartHeap {

// What `reserve` maps by default: the heap in use once the first window is
// painted at scale 1.
constexpr std::size_t kBytes = std::size_t(6) << 20;

// Lets blocks of up to 8 MB come from the heap rather than from a mapping of
// their own each (glibc's fixed threshold; it would otherwise start at
// 128 KB and rise only as big blocks are freed), keeps up to 8 MB free at the
// heap's top rather than returning it at once, and maps `bytes` of heap
// ready for use. Returns whether the kernel mapped them; without
// MADV_POPULATE_WRITE (Linux before 5.14) the pages are mapped as they are
// first touched, as before.
bool reserve(std::size_t bytes = kBytes);

} // namespace StartHeap
