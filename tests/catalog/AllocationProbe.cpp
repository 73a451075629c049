#include "catalog/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> gArmed{false};
std::atomic<std::size_t> gLargest{0};
} // namespace

void* operator new(std::size_t size) {
    if (gArmed.load(std::memory_order_relaxed)) {
        std::size_t largest = gLargest.load(std::memory_order_relaxed);
        while (size > largest && !gLargest.compare_exchange_weak(largest, size))
            ;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace testing_support {

AllocationProbe::AllocationProbe() {
    gLargest = 0;
    gArmed = true;
}

AllocationProbe::~AllocationProbe() {
    gArmed = false;
}

std::size_t AllocationProbe::Largest() const {
    return gLargest;
}

} // namespace testing_support
