// Once the start's heap is reserved, the first window's allocations are
// carved from pages already mapped: touching them takes next to no page
// faults, where fresh blocks of these sizes take one for every 4 KB page.
#include "platform/desktop/StartHeap.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <vector>

namespace {
long pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}
} // namespace

TEST(StartHeap, WhatFollowsItIsAlreadyMapped)
{
    // Limits the heap cannot keep the block under are refused.
    EXPECT_FALSE(StartHeap::reserve(0));
    EXPECT_FALSE(StartHeap::reserve(std::size_t(8) << 20));

    ASSERT_TRUE(StartHeap::reserve(std::size_t(4) << 20)) << "the kernel has no MADV_POPULATE_WRITE";
    // Like a font face's tables (several of 100-200 KB, above glibc's
    // default threshold for a mapping of their own) and a window's image.
    const std::size_t sizes[] = {208768, 208768, 197480, 197480, 131070, 25936, 1126400};
    std::size_t total = 0;
    std::vector<void *> blocks;
    const long before = pageFaults();
    for (const std::size_t size : sizes) {
        void *block = std::malloc(size);
        ASSERT_NE(block, nullptr);
        std::memset(block, 1, size);
        blocks.push_back(block);
        total += size;
    }
    const long taken = pageFaults() - before;
    for (void *block : blocks)
        std::free(block);
    EXPECT_LT(taken, long(total / 4096 / 10)) << "of " << total / 4096 << " pages";
}
