#include "platform/desktop/StartHeap.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace StartHeap {

namespace {
constexpr int kLimit = 8 << 20;
}

bool reserve(std::size_t bytes)
{
    // Both limits must hold the reserved block: above the mapping threshold
    // it would get a mapping of its own and be unmapped when freed, and above
    // the trim threshold its pages would go back to the kernel at once.
    if (bytes == 0 || bytes >= std::size_t(kLimit))
        return false;
    mallopt(M_MMAP_THRESHOLD, kLimit);
    mallopt(M_TRIM_THRESHOLD, kLimit);
    void *block = std::malloc(bytes);
    if (!block)
        return false;
    // Whole pages inside the block; the rest is mapped on first touch.
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto start = (std::uintptr_t(block) + page - 1) & ~(page - 1);
    const auto end = (std::uintptr_t(block) + bytes) & ~(page - 1);
    const bool mapped = end > start && madvise(reinterpret_cast<void *>(start), end - start, MADV_POPULATE_WRITE) == 0;
    // Freed, the block joins the heap's free top, mapped, and the first
    // window's allocations are carved from it.
    std::free(block);
    return mapped;
}

} // namespace StartHeap
