#include "support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The sanitizers bring their own operator new, which ours must not replace.
#if defined(__SANITIZE_ADDRESS__)
#define TESSALY_COUNT_ALLOCATIONS 0
#else
#define TESSALY_COUNT_ALLOCATIONS 1
#endif

namespace {

std::atomic<uint64_t> s_allocations{0};

#if TESSALY_COUNT_ALLOCATIONS
void* allocate(std::size_t size) {
    s_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t align) {
    s_allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t a = std::size_t(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
#endif

}  // namespace

#if TESSALY_COUNT_ALLOCATIONS
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t align) { return allocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return allocateAligned(size, align); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
#endif

namespace tessaly::test {

uint64_t allocationCount() { return s_allocations.load(std::memory_order_relaxed); }
bool countingAllocations() { return TESSALY_COUNT_ALLOCATIONS; }

}  // namespace tessaly::test
