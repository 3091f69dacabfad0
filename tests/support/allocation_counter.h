// Counts the heap allocations the whole test program makes (operator new is
// replaced for the test executable only), so a test can show that a piece of
// work allocates nothing:
//
//   const uint64_t before = test::allocationCount();
//   ... work ...
//   EXPECT_EQ(test::allocationCount() - before, 0u);
#pragma once

#include <cstdint>

namespace tessaly::test {

uint64_t allocationCount();
// False in sanitizer builds, which keep their own allocator: skip then.
bool countingAllocations();

}  // namespace tessaly::test
